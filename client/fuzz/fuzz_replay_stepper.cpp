// Saved games through the replay on a player board of the board library.
// The input is the data of a file (a valid header and info are put before
// it, so the checks of the replay itself are reached) or, when it starts
// with "QV", a whole file. A game that loads is prepared, stepped to the end
// by steps and rounds and back again; the sanitizers catch any read or write
// outside a buffer or the board's state.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "../tests/ReplayBoardHost.h"
#include "PegFile.h"
#include "ReplayStepper.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> file;
    if (size >= 2 && data[0] == 'Q' && data[1] == 'V') {
        file.assign(data, data + size);
    } else {
        peg::Record record;
        const peg::Record::Names names = {{"a", "b", "c", "d", "e"}, {"A", "B", "C", "D", "E"}};
        std::tm when{};
        record.Start(names, size > 0 ? data[0] % 5 : 0, when);
        record.SetData(data, size);
        file = record.Serialize();
    }
    replay::ReplayGame game;
    if (replay::LoadGame(file, &game) != replay::kLoadOk)
        return 0;
    const int seat = static_cast<int>(game.file.info.seat);
    ReplayBoardHost host(seat);
    if (!host.Ready())
        abort();
    replay::CReplayStepper stepper;
    stepper.Take(std::move(game));
    if (!stepper.Prepare(host, 1))
        abort();
    const int count = stepper.StepCount();
    for (int i = 0; i < count; ++i)
        stepper.StepForward(host);
    stepper.StepRoundBack(host);
    while (stepper.Position() > 0)
        stepper.StepBack(host);
    while (stepper.Position() < count)
        stepper.StepRound(host);
    while (stepper.Position() > 0)
        stepper.StepRoundBack(host);
    return 0;
}
