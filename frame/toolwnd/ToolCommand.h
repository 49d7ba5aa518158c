// The tool bar component's events, decided without windows: the background
// mode text of the tool area and the mapping of the component's command
// event (event 1) onto the game frame's operations and the component's
// placement calls. The window (CQVAdHostWnd) fills the two interfaces.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace toolwnd {

// Background modes: 0 the frame's background, 1 a solid colour, 2 the centre
// picture stretched, 3 centred, 4 centred or stretched, 5 the frame's
// background.
enum BackgroundMode { kModeFrame = 0, kModeColour = 1, kModeStretch = 2, kModeCentre = 3, kModeFit = 4,
                      kModeFrame2 = 5 };

// The mode from the first letter of the text (S, L, P, H, B in either case);
// with S and a comma, the colour from "(r,g,b)" after the comma (0x00BBGGRR)
// when all three numbers are there; else the colour stays as given.
int ParseBackgroundMode(const char* pszText, uint32_t* pColour);

// Where the centre picture goes in mode 3 and 4: the part of the picture
// (offset by half the difference) drawn at (0, 0), or nothing when the
// picture is smaller than the area (mode 4 then stretches).
struct CentreCut
{
    bool fits;
    int srcX, srcY;
};
CentreCut CentrePicture(int nPictureWidth, int nPictureHeight, int nAreaWidth, int nAreaHeight);

// The component is placed over the window only from 81 x 21 up.
inline bool ResizesComponent(int cx, int cy) { return cx >= 81 && cy >= 21; }

struct Rect
{
    int left, top, right, bottom;
};

// What the command event needs of the game frame.
class IToolFrame
{
public:
    virtual ~IToolFrame() = default;
    virtual int QueryObject(uint32_t id, int nMode) = 0;                                  // operation 11
    virtual void DragStart(int nMode, uint32_t id, int nValue, int32_t a, int32_t b) = 0;  // operation 12
    virtual void Hook(int nTarget, uint32_t id, int nValue, int32_t a, int32_t b) = 0;     // operation 13
    virtual void DropDone(int nMode, int nTarget, uint32_t id, int32_t a, int32_t b) = 0;  // operation 14
    virtual Rect WindowRectOnScreen() = 0;
    virtual uint64_t WindowHandle() = 0;
    // The seats of the players of the application's list, in list order
    // (the index each name is found at).
    virtual std::vector<int> PlayerSeats() = 0;
    virtual bool AvatarPosition(int nSeat, int* pX, int* pY) = 0;
    virtual void AvatarBox(int* pWidth, int* pHeight) = 0;
    virtual Rect SceneArea() = 0;
};

// The component's placement calls.
class IToolComponent
{
public:
    virtual ~IToolComponent() = default;
    virtual void PlaceObject(uint32_t id, uint64_t hwndOwner, int x, int y, int cx, int cy) = 0;
    virtual void ShowObject(uint32_t id, bool bShow) = 0;
};

struct ToolCommand
{
    uint32_t id;          // the object
    double number;        // handed on as its low and high 32-bit halves
    int mode;
    int target;
    int value;
};

// The command event: 0 or 1 as the frame's operations decide.
int HandleToolCommand(const ToolCommand& command, IToolFrame& frame, IToolComponent& component);

// A stored position moved by two offsets; a negative offset larger than the
// coordinate leaves that coordinate as it is.
void MovePosition(int* pX, int* pY, int dx, int dy);

} // namespace toolwnd
