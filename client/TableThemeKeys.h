// The pictures the table window loads, in the order it loads them: the keys
// of the theme file "\theme_png\Default.thm" and the ids of the fixed
// pictures of "\theme\respic" (ResPicFileName gives their files).
#pragma once

struct ThemeKey {
    const char* section;
    const char* key;
};

const ThemeKey* TableThemeKeys(int* count);
const int* TableFixedPictures(int* count);

// The turn-clock bars' pictures of "\theme\respic": the own seat's frame and
// fill, and another seat's. Loaded after the fixed pictures above.
constexpr int kPicMyTimer = 287;
constexpr int kPicMyTimerFrame = 288;
constexpr int kPicOtherTimer = 289;
constexpr int kPicOtherTimerFrame = 290;
