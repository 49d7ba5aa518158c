// Arbitrary bytes through every reader of the task, title, honour, award,
// notice, player information and table options bodies and of the task files: each must
// refuse or accept without reading outside the bytes, and what it accepts
// must fit the fields it is kept in.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "PlayerInfo.h"
#include "TableTools.h"
#include "TaskRewards.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first byte picks the reader; the rest is the body, in a block of
    // exactly its size.
    if (size < 1)
        return 0;
    const uint8_t which = data[0];
    std::vector<uint8_t> body(data + 1, data + size);
    const uint8_t* b = body.empty() ? nullptr : body.data();
    const size_t n = body.size();
    switch (which % 12) {
    case 0: {
        TaskStatusBody out;
        ParseTaskStatus(b, n, &out);
        break;
    }
    case 1: {
        TaskDefinitionBody out;
        if (ParseTaskDefinition(b, n, &out)) {
            if (out.fetchAddress.size() > kMaxAddressChars || out.drawAddress.size() > kMaxAddressChars ||
                out.loginPrefix.size() > kMaxAddressChars || out.title.size() > 64)
                abort();
            CTaskState task;
            task.ApplyDefinition(out);
            const std::vector<uint8_t> image = task.TaskInImage();
            CTaskState back;
            if (!back.ReadTaskIn(image.data(), image.size(), task.key))
                abort();
            for (int i = 0; i < 8; i++) {
                task.TimerStep();
                const int filled = TaskBarFill(task.stages, task.elapsed, 120);
                if (filled < 0 || filled > 120)
                    abort();
            }
        }
        break;
    }
    case 2: {
        TaskProgressBody out;
        if (ParseTaskProgress(b, n, &out)) {
            CTaskState task;
            task.ApplyProgress(out.elapsed);
            task.RefuseStage();
        }
        break;
    }
    case 3: {
        uint32_t verdict;
        ParseStageReply(b, n, &verdict);
        break;
    }
    case 4: {
        TaskResultBody out;
        if (ParseTaskResult(b, n, &out) &&
            (out.resultAddress.size() > kMaxAddressChars || out.loginPrefix.size() > kMaxAddressChars))
            abort();
        break;
    }
    case 5: {
        std::vector<ServerTitle> out;
        if (ParseTitleList(b, n, &out) && out.size() * sizeof(TitleRecord) > n)
            abort();
        break;
    }
    case 6: {
        std::vector<HonourEntry> out;
        if (ParseHonourTable(b, n, &out) && out.size() * 8 > n)
            abort();
        break;
    }
    case 7: {
        std::vector<TitleAwardGroup> out;
        if (ParseTitleAward(b, n, &out))
            for (const TitleAwardGroup& g : out)
                for (const ServerTitle& t : g.titles)
                    TitleAwardText(g.userName, t.title, 1);
        break;
    }
    case 8: {
        LinkedNotice out;
        ParseLinkedNotice(b, n, &out);
        break;
    }
    case 9: {
        CTaskState task;
        if (n >= 4) {
            const uint32_t key = (uint32_t)b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
            task.ReadTaskIn(b, n, key);
            task.ReadResult(b, n, key);
        }
        break;
    }
    case 10: {
        // The whole message here, header first.
        uint32_t out[kTableOptionValues];
        ReadTableOptions(b, n, out);
        break;
    }
    default: {
        std::vector<PlayerInfoRecord> out;
        if (ParsePlayerInfoPayload(b, n, &out))
            for (const PlayerInfoRecord& r : out) {
                FormatPlayerInfo(r, [](const std::string& s) { return (int)s.size() * 7; });
                size_t written = 0;
                for (const std::vector<std::string>& part : BannerParts(r.title))
                    for (const std::string& character : part)
                        written += character.size();
                if (written > sizeof(r.title))
                    abort();
            }
        break;
    }
    }
    return 0;
}
