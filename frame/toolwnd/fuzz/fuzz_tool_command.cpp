// The background mode text and the command event from arbitrary input.
#include "ToolCommand.h"

#include <cstring>
#include <string>

namespace {

class Quiet : public toolwnd::IToolFrame, public toolwnd::IToolComponent
{
public:
    int QueryObject(uint32_t, int) override { return 1; }
    void DragStart(int, uint32_t, int, int32_t, int32_t) override {}
    void Hook(int, uint32_t, int, int32_t, int32_t) override {}
    void DropDone(int, int, uint32_t, int32_t, int32_t) override {}
    toolwnd::Rect WindowRectOnScreen() override { return {0, 0, 10, 10}; }
    uint64_t WindowHandle() override { return 1; }
    std::vector<int> PlayerSeats() override { return {0, 1, 2}; }
    bool AvatarPosition(int seat, int* x, int* y) override
    {
        *x = seat;
        *y = seat;
        return seat != 1;
    }
    void AvatarBox(int* w, int* h) override { *w = *h = 3; }
    toolwnd::Rect SceneArea() override { return {0, 0, 5, 5}; }
    void PlaceObject(uint32_t, uint64_t, int, int, int, int) override {}
    void ShowObject(uint32_t, bool) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    uint32_t colour = 0;
    toolwnd::ParseBackgroundMode(text.c_str(), &colour);
    if (size >= 20) {
        toolwnd::ToolCommand command;
        memcpy(&command.id, data, 4);
        memcpy(&command.number, data + 4, 8);
        command.mode = data[12] % 5;
        command.target = data[13] % 6;
        memcpy(&command.value, data + 16, 4);
        Quiet q;
        toolwnd::HandleToolCommand(command, q, q);
    }
    return 0;
}
