// Board framework: the game-independent part of a board.
//
// CBoard keeps the players at the table, dispatches the host's events, handles
// the platform messages every game shares, exports and imports the board-data
// stream, and wraps the host callback. CBoardClient adds the player side's
// display-object map. The game board (CMardavelBoard) derives from
// CBoardClient and plugs into the virtual hooks below.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "BoardInterface.h"
#include "MsgPack.h"

class CBoardIni;

#if defined(__GNUC__)
#define BOARD_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define BOARD_PRINTF(fmt, args)
#endif

class CBoard {
public:
    static constexpr uint32_t kDefaultExportSize = 1024;
    static constexpr uint32_t kMaxExportSize = 0xFFFF;
    static constexpr uint32_t kStreamGrow = 4096;

    CBoard();
    virtual ~CBoard();
    CBoard(const CBoard&) = delete;
    CBoard& operator=(const CBoard&) = delete;

    // Stores the host binding and copies the init block (when given).
    virtual int Init(int32_t mode, BoardCallback callback, uintptr_t cookie,
                     const BoardInitBlock* init);
    // Framework events: 1 handled, -1 failed, 0 not a framework event.
    virtual int OnEvent(int32_t code, int32_t userId, int32_t identify, void* param);
    // Applies a message; sets the unhandled flag when no layer knows its id.
    virtual int ProcessMsg(NetMsgHeader* msg);
    virtual int BuildPlayerExport(PlayerExportRequest* request);
    virtual int OnImportRequest(NetMsgHeader* msg);
    virtual int SetOption(int32_t id, int32_t value);
    // Reads the framework's part of a board-data stream (cursor in word 0).
    // The game level reads the stream's leading version and its table state
    // around this.
    virtual int ImportBoardData(NetMsgHeader* stream);
    // Writes the framework's part of a board-data stream for a recipient:
    // the version, the player count and the player records. The game level
    // writes the leading version before it and its table state after it,
    // hiding the cards that recipient may not see (seat, identify; identify
    // kIdentifyOwnPlayer is the seat's own player, anything else a watcher).
    virtual int ExportBoardData(NetMsgHeader** stream, int32_t a, int32_t b, int32_t seat,
                                int32_t identify);
    virtual int ExportPlayers(int32_t count, BoardPlayerRecord* out);
    virtual int ReadSeatValues(int32_t count, void* out);

    // Hooks; the framework's bodies accept and do nothing.
    virtual int OnPlayerSeat(int32_t seat);
    virtual int OnPlayerLeave(int32_t seat);
    virtual int OnWatcher(int32_t userId, void* param);
    virtual int OnSeatFlag(int32_t seat, const char* name, int32_t flag);  // default 0
    virtual int OnTrustState(NetMsgHeader* msg);      // message 0x8000021B
    virtual int OnTrustPlay(int32_t seat, const char* name, int32_t state);
    virtual int OnPlayerOffline(NetMsgHeader* msg);   // message 0x8000021A
    virtual int OnOffline(int32_t seat, const char* name);
    virtual int OnPlayerMarked(NetMsgHeader* msg);    // message 553
    virtual int OnPlayerUnmarked(NetMsgHeader* msg);  // message 554

    // Builds message 0x80000280 for a recipient in the board's reusable export
    // buffer (valid until the next export); null when refused.
    NetMsgHeader* ExportData(int32_t a, int32_t b, int32_t seat, int32_t identify);
    void SetExportSize(uint32_t size) { m_exportSize = size; }
    uint32_t ExportSize() const { return m_exportSize; }

    // Formats into a 1 KB buffer and hands the line to the host (callback 13).
    void Log(const char* format, ...) BOARD_PRINTF(2, 3);

    // Raises a callback; 0 without calling when there is no callback or cookie.
    int32_t Callback(uint32_t code, intptr_t p1 = 0, intptr_t p2 = 0, intptr_t p3 = 0,
                     int32_t userId = 0, int32_t identify = 0);
    // Callback 7: the message goes to the named recipient.
    int32_t SendToRecipient(NetMsgHeader* msg, const char* recipient);

    // Player list.
    size_t PlayerCount() const { return m_players.size(); }
    BoardPlayerRecord* PlayerAt(size_t index);
    BoardPlayerRecord* FindPlayer(uint32_t userId, uint8_t identify);
    // A user's record: the first at a seat, else the first watching.
    BoardPlayerRecord* FindUser(uint32_t userId);
    BoardPlayerRecord* FindPlayerByName(const char* name);
    // The first record of a player (not a watcher) at that seat.
    BoardPlayerRecord* FindSeatedPlayer(int32_t seat);
    int AddPlayer(const BoardPlayerRecord* record);
    int RemovePlayer(uint32_t userId, uint8_t identify);
    // Trims the list to the given record (an empty list for null).
    void ResetPlayers(const BoardPlayerRecord* record);

    int32_t Mode() const { return m_mode; }
    bool IsReferee() const { return m_mode == kBoardModeReferee; }
    const BoardInitBlock& InitBlock() const { return m_init; }
    uint32_t OwnUserId() const { return m_ownUserId; }
    uint8_t OwnIdentify() const { return m_ownIdentify; }
    uint8_t OwnSeat() const { return m_ownSeat; }
    bool OwnWatching() const { return m_ownWatching; }
    const char* OwnName() const { return m_ownName; }
    int32_t SpareValue() const { return m_spareValue; }

    // Host-side lifetime (see QVBoardDestory): events in progress, and a
    // destruction requested from inside one of them.
    void EnterEvent() { ++m_eventDepth; }
    bool LeaveEvent() { return --m_eventDepth == 0 && m_destroyPending; }
    bool RequestDestroy();

protected:
    int OnEventProcessMsg(int32_t userId, int32_t identify, NetMsgHeader* msg);
    int SetOptionList(const char* text);
    int SendBoardData(int32_t userId, int32_t identify, const char* recipient);
    // Seat and export identify for a recipient of the board data.
    BoardPlayerRecord* ExportRecipient(uint32_t userId, uint32_t identify, int32_t* seat,
                                       int32_t* exportIdentify);
    // Name of a base message's player, read from the body at `offset`.
    BoardPlayerRecord* NamedPlayer(const NetMsgHeader* msg, uint32_t offset, char (&name)[20]);
    int SetPlayerFlag(NetMsgHeader* msg, uint32_t flag, bool on);
    void ReportObjectState(const BoardPlayerRecord& player);
    void SetOwnIdentity(const BoardPlayerRecord& record, bool withName);

    // Host binding.
    BoardCallback m_callback = nullptr;
    uintptr_t m_cookie = 0;
    int32_t m_mode = kBoardModeReferee;

    // Reusable export buffer: its allocated size and the size to ask for.
    NetMsgHeader* m_exportBuffer = nullptr;
    uint32_t m_exportCapacity = 0;
    uint32_t m_exportSize = kDefaultExportSize;

    BoardInitBlock m_init;

    // Own identity.
    char m_ownName[20];
    uint32_t m_ownUserId = 0;
    uint8_t m_ownIdentify = 0;
    uint8_t m_ownSeat = 0;
    bool m_ownWatching = false;

    // Sender of the message being applied (referee side).
    uint32_t m_senderUserId = 0;
    uint8_t m_senderIdentify = 0;
    uint8_t m_senderSeat = 0;
    bool m_senderWatching = false;

    // Set by the message handlers when no layer knew the message.
    bool m_unhandled = false;

    std::vector<BoardPlayerRecord> m_players;
    int32_t m_spareValue = 0;

private:
    int m_eventDepth = 0;
    bool m_destroyPending = false;
};

// One entry of the display-object map.
struct ScriptMapEntry {
    char name[20];
    int32_t kind;       // -1 until the map sets it
    int32_t objectId;   // -1 until the map sets it
    int32_t varIndex;   // index into the variable table, -1 none
    int32_t funcIndex;  // index into the function table, -1 none
};
static_assert(sizeof(ScriptMapEntry) == 36, "ScriptMapEntry is 36 bytes");

class CBoardClient;
// Function of a display object, run by event 10; non-zero for success.
typedef int (*MapFunc)(CBoardClient& board, ScriptMapEntry& entry, int32_t value);

class CBoardClient : public CBoard {
public:
    static constexpr int kMaxMapEntries = 200;
    static constexpr size_t kObjListBytes = 4096;
    static constexpr size_t kMapLineChars = 256;
    static constexpr size_t kPropLineChars = 1024;
    // Most objects one range key may stand for.
    static constexpr int32_t kMaxRangeObjects = 1000;

    CBoardClient() = default;
    ~CBoardClient() override;

    int Init(int32_t mode, BoardCallback callback, uintptr_t cookie,
             const BoardInitBlock* init) override;
    // Framework events first, then the client events 0, 2-8 and 10.
    int OnEvent(int32_t code, int32_t userId, int32_t identify, void* param) override;

    // Reads the display-object map from the init block's map ini and creates
    // every object through callback 10.
    virtual int LoadMap();
    // Adds the map's entries; the framework adds "areaTable".
    virtual int AddAreaTable();
    // Display-object events 2-8 for a mapped object; 0 leaves the event to the
    // game level.
    virtual int OnDisplayObjectEvent(int32_t code, ScriptMapEntry& entry, int32_t value);

    // Appends a map entry; refused (with a log line) beyond 200 entries.
    int AddMap(const char* name, int32_t* variable, MapFunc function);
    int MapEntryCount() const { return m_mapCount; }
    ScriptMapEntry* FindMapEntryByName(const char* name);
    ScriptMapEntry* FindMapEntryById(int32_t objectId);
    int32_t AreaVariable() const { return m_areaVariable; }

    // Keeps a copy of a text for the board's lifetime.
    const char* KeepText(const char* text);

protected:
    int RunMapFunction(int32_t objectId, int32_t value);
    // Creates the objects of one ObjList key; false ends the load.
    bool LoadMapKey(const CBoardIni& ini, const std::string& key);
    // 1 created, 0 a bad map line (the key ends), -1 the host refused it.
    int CreateObject(const std::string& name, const std::string& mapLine,
                     const std::string& propLine);
    std::string SubstituteFolders(std::string line) const;
    void SortNameIndex();
    void SortIdIndex();

    ScriptMapEntry* m_pScriptMap = nullptr;
    MapFunc* m_pfFuncMap = nullptr;
    int32_t** m_pdwVarName = nullptr;
    int m_mapCount = 0;
    int m_funcCount = 0;
    int m_varCount = 0;
    std::array<uint8_t, kMaxMapEntries> m_nameIndex{};
    std::array<uint8_t, kMaxMapEntries> m_idIndex{};
    int32_t m_areaVariable = 0;
    std::list<std::string> m_texts;
};
