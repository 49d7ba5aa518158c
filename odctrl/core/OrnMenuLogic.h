// OrnMenuLogic.h - the arithmetic and text rules of the owner-draw menu with
// images (OrnMenu.h), apart from any window: the system's version class and
// the classic-theme test that choose the drawing style, item sizes, colour
// lightening, the mnemonic search, tab alignment, and the id list that runs
// beside the shared image list.
//
// Drawing styles: 0 the classic look (a framed image box, the selection in
// the highlight colour), 1 the flat look (an image column, a lightened
// selection with a frame).
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

namespace ornmenu {

// The version class: 0-4 the Windows 9x family (0 before 4.0, 3 for 4.10,
// 4 for 4.90, 2 otherwise), 5-7 NT 4.0, 5.0, 5.1, and 1 for every other NT.
int VersionClass(bool win9x, unsigned major, unsigned minor);

// True when the theme file's name (the registry value as read, up to len
// bytes, terminated or not) ends with "Windows Classic.theme", letters in
// any case.
bool IsClassicThemeName(const char* value, size_t len);

struct StyleSettings
{
    int themedStyle = 1;            // style on a themed system
    int otherStyle = 0;             // style otherwise
    bool selectDisabled0 = true;    // a disabled item may look selected in style 0
    bool selectDisabled1 = false;   // ... in style 1
    bool keepFadedShadow = true;    // keep faded and shadow copies of images
};

// The themed system: version class 7 without the classic theme.
bool IsThemedOs(int versionClass, bool classicTheme);
// The style in force (the setting for the kind of system).
int StyleInForce(const StyleSettings& s, bool themedOs);
// The style an item is drawn in: 1 only when that is in force and the
// device has no palette.
int DrawingStyle(const StyleSettings& s, bool themedOs, bool paletteDevice);
// Whether a selected disabled item keeps its selected look.
bool SelectDisabled(const StyleSettings& s, bool themedOs);

// Each channel c of 0x00BBGGRR becomes c + (255 - c) x f for 0 < f <= 1;
// other factors give the colour back.
uint32_t LightenColor(uint32_t colour, double f);

struct Size
{
    int width = 0, height = 0;
};
// The margin around images: 7 in style 1 with faded and shadow images, else 4.
int Margin(int style, bool keepFadedShadow);
// An item's size: a separator is 0 wide and half the menu bar high unless
// half the image with its margin is more; other items are as wide as
// style 1's column, text and gap, or style 0's text and two image widths.
Size MeasureItem(bool separator, int style, bool keepFadedShadow, int imageWidth, int imageHeight, int cyMenu,
                 int textWidth);

// The part before the first tab and the part after the last tab (empty
// when there is no tab).
void SplitAtTabs(const std::wstring& text, std::wstring* left, std::wstring* right);

// The first position whose caption, lower-cased, holds "&" and the lower-
// cased character; -1 when none does.
int FindMnemonic(const std::vector<std::wstring>& captions, wchar_t c);

// Pads the part before the tab of every caption that has a tab with spaces
// until it is at least as wide as the widest part before a tab with one
// space added; width measures a text.
void AlignTabs(std::vector<std::wstring>& captions, const std::function<int(const std::wstring&)>& width);

// The ids beside the shared image list: one per image, a command three
// times in a row when its faded and shadow images are kept. Adding a
// command that is already there gives its index back (its images are then
// replaced in place; *extraInPlace tells whether its next two entries are
// the same command); else the command is appended once, or three times with
// the extra images, and the new index is given.
struct AddResult
{
    int index = -1;
    bool replaced = false;
    bool extraInPlace = false;
};
AddResult AddImageId(std::vector<uint32_t>& ids, uint32_t command, bool keepExtra);
// The index of a command's normal image, -1 when it has none.
int FindImageId(const std::vector<uint32_t>& ids, uint32_t command);
// Whether the image at index has faded and shadow images after it.
bool HasExtraImages(const std::vector<uint32_t>& ids, int index);

// One item of a menu template (the standard resource layout after its
// 4-byte header and the header's offset: u16 flags, a u16 id unless the
// item is a pop-up, a zero-terminated UTF-16 caption; MF_END marks the last
// item of a level). parent is the index of the pop-up item that holds it,
// -1 for the top level.
struct TemplateItem
{
    uint16_t flags = 0;  // without MF_END
    uint16_t id = 0;
    std::wstring caption;
    int parent = -1;
};
// The items in template order. Reading stops at the top level's last item,
// at the end of the data, or at an item cut short (the items read before it
// are kept).
std::vector<TemplateItem> ReadMenuTemplate(const uint8_t* data, size_t size);

// Offsets of an image centred in style 1's column (never negative).
int CentreOffset(int outer, int inner);
// Top of style 0's image box (image height + 4) in an item.
int ImageBoxTop(int itemHeight, int imageHeight);

}  // namespace ornmenu
