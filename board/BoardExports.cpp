// The three entry points of the board library. No C++ exception leaves them:
// the host may be built with another runtime.
#include <new>

#include "BoardInterface.h"
#include "MardavelBoard.h"

extern "C" {

BoardHandle QVBOARD_CALL QVBoardCreate(int32_t mode, BoardCallback callback, uintptr_t cookie,
                                       int32_t /*reserved*/, const BoardInitBlock* init)
{
    CMardavelBoard* board = new (std::nothrow) CMardavelBoard;
    if (!board)
        return nullptr;
    try {
        if (board->Init(mode, callback, cookie, init))
            return board;
    } catch (...) {
    }
    delete board;
    return nullptr;
}

int32_t QVBOARD_CALL QVBoardEvent(BoardHandle handle, int32_t code, int32_t userId,
                                  int32_t identify, void* param)
{
    if (!handle)
        return -1;
    auto* board = static_cast<CMardavelBoard*>(handle);
    int32_t result = -1;
    board->EnterEvent();
    try {
        result = board->OnEvent(code, userId, identify & 0xFFFF, param);
    } catch (...) {
        result = -1;
    }
    if (board->LeaveEvent())
        delete board;
    return result;
}

void QVBOARD_CALL QVBoardDestory(BoardHandle handle)
{
    if (!handle)
        return;
    auto* board = static_cast<CMardavelBoard*>(handle);
    if (board->RequestDestroy())
        delete board;
}

}  // extern "C"
