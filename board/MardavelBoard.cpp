#include "MardavelBoard.h"

int CMardavelBoard::OnEvent(int32_t code, int32_t userId, int32_t identify, void* param)
{
    const int handled = CBoardClient::OnEvent(code, userId, identify, param);
    if (handled != 0)
        return handled;
    // Game events go here.
    return 1;
}

int CMardavelBoard::ProcessMsg(NetMsgHeader* msg)
{
    const int result = CBoardClient::ProcessMsg(msg);
    if (!m_unhandled)
        return result;
    // Game messages go here; an id nobody knows stays unhandled.
    return 0;
}

int CMardavelBoard::ExportBoardData(NetMsgHeader** stream, int32_t a, int32_t b, int32_t seat,
                                    int32_t identify)
{
    const uint32_t version = kBoardDataVersion;
    if (!StreamWrite(stream, &version, 4, kStreamGrow))
        return 0;
    if (!CBoardClient::ExportBoardData(stream, a, b, seat, identify))
        return 0;
    return WriteTableState(stream, seat, identify);
}

int CMardavelBoard::ImportBoardData(NetMsgHeader* stream)
{
    uint32_t version = 0;
    if (!StreamRead(stream, &version, 4) || version != kBoardDataVersion) {
        Log("CMardavelBoard::ImportBoardData, bad stream version %08x", version);
        return 0;
    }
    if (!CBoardClient::ImportBoardData(stream))
        return 0;
    if (!ReadTableState(stream))
        return 0;
    Callback(kCbBoardImported);
    return 1;
}

int CMardavelBoard::WriteTableState(NetMsgHeader**, int32_t, int32_t)
{
    return 1;
}

int CMardavelBoard::ReadTableState(NetMsgHeader*)
{
    return 1;
}
