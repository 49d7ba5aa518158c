// SceneText.h - the text forms of scene files without windows: anchor codes
// and their resolution against the area, layer kinds from a layer's style,
// the name format and its literal substitution.
#pragma once

#include <string>
#include <vector>

struct ScenePoint
{
    int x = 0, y = 0;
    bool operator==(const ScenePoint& o) const { return x == o.x && y == o.y; }
};

// The point that has no position.
constexpr int kNoScenePosition = -10000;

// An anchor word: LT 1, T 2, RT 3, R 4, RB 5, B 6, LB 7, L 8, else 0 (letters
// case-blind; only the first letter and, after L or R, a second T or B
// count). With avatarCount >= 0 the form "A" + n is taken too: code
// 16 + (n - 1) when n - 1 lies in 0..avatarCount-1, else 16 + fallback;
// with names true "N" + n gives 48 + (n - 1).
int ParseSceneAnchor(const std::string& text, int avatarCount = -1, int fallback = 0, bool names = false);

// The point of a code relative to the area's top-left (halves by arithmetic
// shift); (kNoScenePosition, kNoScenePosition) for codes 9..15 and indexes
// past the positions.
ScenePoint ResolveSceneAnchor(int code, int w, int h, const std::vector<ScenePoint>& avatars,
                              const std::vector<ScenePoint>& names);

// A layer's kind from its style (0 B, 1 A, 2 A with an n, 3 N, 4 O, 5 E,
// 6 M); -1 for any other style (no layer).
int ParseLayerStyle(const std::string& style);

// The name format of the scene file: the first backslash-n becomes a line
// break; empty gives "%s\n%n".
std::string SceneNameFormat(const std::string& text);
// The first "%s" of the format replaced by the user name and the first "%n"
// by the nickname, literally: nothing in the names is read as a format.
std::string FormatSceneName(const std::string& format, const std::string& userName, const std::string& nickName);
