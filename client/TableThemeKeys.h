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
