// The table window's settings (profile section "Settings"), their defaults
// in one place, and the folder values that fall back to the program folder.
#pragma once

#include <cstdint>
#include <string>

struct TableSettings {
    uint32_t bkColor = 0x8000;      // "BkColor": the solid background (COLORREF)
    std::string bkBmp;              // "BkBmp": the picture background's file
    int tile = 1;                   // "Tile"
    int soundEf = 1;                // "SoundEf": sound effects
    int smallCard = 0;              // "SmallCard": small cards for the own hand
    int openResult = 0;             // "OpenResult"
    int flyTipText = 0;             // "FlyTipText": balloons drawn over the table
    int music = 0;                  // "Music"
    std::string musicFile;          // "MusicFile"
    std::string snapshot;           // "Snapshot": the screenshot folder
    std::string videoDir;           // "VideoDir": the video folder
};

// An empty folder value becomes the program folder (no trailing backslash)
// followed by the suffix ("\snapshot", "\Video"); any other value is kept.
std::string FolderSetting(const std::string& value, const std::string& programFolder, const char* suffix);
