#include "TableThemeKeys.h"

namespace {

// The theme pictures in the order the table loads them.
const ThemeKey kThemeKeys[] = {
    {"Buttons", "start"}, {"Status", "Ready"}, {"Status", "Waiting"}, {"Buttons", "Start"},
    {"Buttons", "Ranking"}, {"Buttons", "SetTitle"}, {"Buttons", "Enthroned"}, {"Buttons", "Abdicate"},
    {"Buttons", "OnlyEmperor"}, {"Buttons", "Giveup"}, {"Buttons", "ShowHouseCarl"}, {"Buttons", "HideHouseCarl"},
    {"Buttons", "Takeout"}, {"Buttons", "Pass"}, {"Buttons", "Hint"}, {"Buttons", "Rebell"},
    {"Background", "LPlayer"}, {"Background", "RPlayer"}, {"Background", "DPlayer"}, {"Background", "TONumBK"},
    {"Background", "TONum"}, {"Background", "LeftNumBK"}, {"Background", "BtnBK"}, {"Background", "CardMemBK"},
    {"Background", "Pass"}, {"Buttons", "IconPicker"}, {"Buttons", "TrustPlay"}, {"Buttons", "UnTrustPlay"},
    {"Buttons", "GameScore"}, {"Buttons", "PlayDir"}, {"Buttons", "UnPlayDir"}, {"Buttons", "LastTrick"},
    {"Buttons", "Sort"}, {"Buttons", "Setup"}, {"Buttons", "CardMem"}, {"Others", "EmperorSign"},
    {"Others", "HouseCarlSign"}, {"Others", "HouseCarlSign2"}, {"Others", "FarmerSign"}, {"Others", "CardFrame"},
    {"Status", "TrustPlayBK"}, {"Status", "TrustPlayStr"}, {"Status", "TrustPlayStr2"}, {"Status", "TrustPlayNum"},
    {"Buttons", "TrustPlayBtn"}, {"Status", "RankNum"}, {"Others", "Out1"}, {"Others", "Out2"}, {"Others", "Out3"},
    {"Others", "Out4"}, {"Others", "Out5"}, {"Others", "Timer"}, {"Others", "MyTimerBK"}, {"Others", "TimerBK"},
    {"Others", "Color"}, {"Background", "RankBK1"}, {"Background", "RankBK2"}, {"Title", "TitleBK01"},
    {"Title", "TitleBK02"}, {"Title", "TitleBK03"}, {"Title", "TitleBK04"}, {"Title", "TitleBK05"},
    {"Title", "TitleBK06"}, {"Title", "TitleBK07"}, {"Title", "TitleBK08"}, {"Title", "TitleBK09"},
    {"Title", "TitleBK10"},
};

// The fixed pictures in the order the table loads them.
const int kFixedPictures[] = {321, 322, 318, 320, 317, 319, 286, 8014, 8013, 8015, 280, 325,
                              326, 327, 328, 329, 336, 8008, 8009, 8010, 8012, 8011};

}  // namespace

const ThemeKey* TableThemeKeys(int* count)
{
    *count = static_cast<int>(sizeof kThemeKeys / sizeof kThemeKeys[0]);
    return kThemeKeys;
}

const int* TableFixedPictures(int* count)
{
    *count = static_cast<int>(sizeof kFixedPictures / sizeof kFixedPictures[0]);
    return kFixedPictures;
}
