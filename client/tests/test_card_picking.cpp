// Picking the own cards by click, Ctrl click and drag.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "CardPicking.h"

namespace {

// A hand from a text of ranks: "3".."10","J","Q","K","A","2" are columns
// 0-12, "S" and "B" the small and big joker; "7*" is a marked 7.
std::vector<CardEntry> Cards(const std::string& text)
{
    static const char* const kRanks[13] = {"3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "A", "2"};
    std::vector<CardEntry> out;
    std::istringstream in(text);
    std::string word;
    uint8_t id = 0;
    while (in >> word) {
        CardEntry e{};
        e.id = id++;
        bool marked = false;
        if (word.back() == '*') {
            marked = true;
            word.pop_back();
        }
        if (word == "S") {
            e.rank = 13;
            e.suit = 52;
        } else if (word == "B") {
            e.rank = 14;
            e.suit = 53;
        } else {
            for (uint8_t r = 0; r < 13; ++r) {
                if (word == kRanks[r])
                    e.rank = r;
            }
        }
        if (marked)
            e.flags |= 0x01;
        out.push_back(e);
    }
    return out;
}

std::string Selected(const CHandSelection& hand)
{
    std::string s;
    for (int i = 0; i < hand.Count(); ++i)
        s += hand.IsSelected(i) ? 'x' : '.';
    return s;
}

TEST(CardPickingTest, Clicks)
{
    struct Case {
        const char* what;
        const char* hand;
        const char* trick;      // empty: the own seat leads
        const char* selected;   // before the click
        int index;
        const char* expected;
    };
    const Case cases[] = {
        {"following a pair of 5s with two 7s selects both", "5 7 7 9", "5 5", "....", 1, ".xx."},
        {"with one 7 a small joker is added", "7 9 S B", "5 5", "....", 0, "x.x."},
        {"with one 7 and no small joker a big joker", "7 9 B", "5 5", "...", 0, "x.x"},
        {"the play holds more small jokers than the hand big ones: toggle only", "7 7 S", "S 5", "...", 0,
         "x.."},
        {"a big joker for each small joker of the play, then the rank", "7 7 9 B", "S 5 5", "....", 0, "xx.x"},
        {"a rank not above the play's last card only toggles", "5 7 7", "7 7", "...", 1, ".x."},
        {"a joker only toggles", "7 7 S", "5 5", "...", 2, "..x"},
        {"too few cards for the play only toggles", "7 9", "5 5 5", "..", 0, "x."},
        {"enough selected already: toggle", "7 7 7 9", "5 5 5", "x..x", 2, "x.xx"},
        {"leading with nothing selected: the whole rank", "5 7 7 7 9", "", ".....", 2, ".xxx."},
        {"leading, a joker: toggle only", "7 S S", "", "...", 1, ".x."},
        {"leading with a card selected: toggle", "5 7 7", "", "x..", 1, "xx."},
    };
    for (const Case& c : cases) {
        std::vector<CardEntry> cards = Cards(c.hand);
        for (size_t i = 0; i < cards.size(); ++i) {
            if (c.selected[i] == 'x')
                cards[i].flags |= kCardSelected;
        }
        const std::vector<CardEntry> trick = Cards(c.trick);
        CHandSelection hand(cards.data(), static_cast<int>(cards.size()));
        ClickContext context;
        context.leads = trick.empty();
        context.ownToPlay = true;
        context.trick = trick.data();
        context.trickCount = static_cast<int>(trick.size());
        ClickCard(hand, c.index, context);
        EXPECT_EQ(Selected(hand), c.expected) << c.what;
        EXPECT_EQ(hand.SelectedCount(), hand.CountSelected()) << c.what;
    }
}

TEST(CardPickingTest, SelectColumnWalkAndMarkedCards)
{
    std::vector<CardEntry> cards = Cards("7 7* 7 9 7");
    CHandSelection hand(cards.data(), 5);
    EXPECT_EQ(hand.SelectColumn(4, 2, 2), 2);
    EXPECT_EQ(Selected(hand), "x.x..") << "walks down from the start, passing the marked 7";
    EXPECT_EQ(hand.SelectColumn(4, 3, 2), 2);
    EXPECT_EQ(Selected(hand), "xxx.x") << "the marked 7 is taken when too few are left";
    EXPECT_EQ(hand.SelectColumn(15, 1, 0), 0) << "no column above 14";
    EXPECT_EQ(hand.SelectColumn(4, 0, 0), 0);
    EXPECT_EQ(hand.SelectColumn(4, 1, 5), 0) << "start outside the hand";

    std::vector<CardEntry> jokers = Cards("S B S B");
    CHandSelection j(jokers.data(), 4);
    EXPECT_EQ(j.SelectJokers(3, false), 3);
    EXPECT_EQ(Selected(j), "x.xx") << "both small jokers, then a big one from the last card";
    CHandSelection big(jokers.data(), 4);
    EXPECT_EQ(big.SelectJokers(3, true), 2);
    EXPECT_EQ(Selected(big), ".x.x");
}

TEST(CardPickingTest, DragAndCtrl)
{
    std::vector<CardEntry> cards = Cards("3 4 5 6 7 8");
    CHandSelection drag(cards.data(), 6);
    drag.MarkRange(4, 1);
    drag.SelectMarked();
    EXPECT_EQ(Selected(drag), ".xxxx.") << "both ends included";
    EXPECT_EQ(drag.SelectedCount(), 4);
    EXPECT_EQ(drag.Flags(1) & kCardDragMark, 0) << "marks cleared";

    CHandSelection ctrl(cards.data(), 6);
    ctrl.Toggle(1);
    CtrlPress(ctrl, 4);
    EXPECT_EQ(Selected(ctrl), ".xxxx.");
    CtrlPress(ctrl, 2);
    EXPECT_EQ(Selected(ctrl), "......") << "a selected card clears the selection";
    ctrl.Toggle(0);
    ctrl.Toggle(5);
    CtrlPress(ctrl, 3);
    EXPECT_EQ(Selected(ctrl), "x....x") << "two selected: nothing added";
}

std::string Marked(const CHandSelection& hand)
{
    std::string s;
    for (int i = 0; i < hand.Count(); ++i)
        s += (hand.Flags(i) & kCardDragMark) != 0 ? 'm' : '.';
    return s;
}

// A press on card `press`, moves over the cards of `moves` (-1: off the
// hand), then a release over `release`: the marks after the moves, the first
// card drawn again by the last move, and the selection after the release.
TEST(CardPickingTest, DragMarksAndRelease)
{
    struct Case {
        const char* what;
        const char* selected;
        int press;
        std::vector<int> moves;
        int release;
        const char* marks;
        int redrawFrom;
        const char* expected;
    };
    const Case cases[] = {
        {"a drag to the right marks both ends and what lies between", "......", 1, {2, 4}, 4, ".mmmm.", 1,
         ".xxxx."},
        {"a drag to the left", "......", 4, {3, 2}, 2, "..mmm.", 2, "..xxx."},
        {"back over the pressed card: no marks, the earlier ones drawn again", "......", 2, {4, 2}, 2, "......", 2,
         "..x..."},
        {"turning back left of the press: drawn from the lowest card marked before", "......", 3, {1, 4}, 4,
         "...mm.", 1, "...xx."},
        {"a move off the hand keeps the marks; releasing outside selects them", "......", 0, {2, -1}, -1, "mmm...",
         -1, "xxx..."},
        {"a drag adds to cards already selected", "x....x", 2, {3}, 3, "..mm..", 2, "x.xx.x"},
        {"a press on no card: nothing marked, nothing picked", "......", -1, {3}, 3, "......", -1, "......"},
    };
    for (const Case& c : cases) {
        std::vector<CardEntry> cards = Cards("3 4 5 6 7 8");
        for (size_t i = 0; i < cards.size(); ++i) {
            if (c.selected[i] == 'x')
                cards[i].flags |= kCardSelected;
        }
        CHandSelection hand(cards.data(), static_cast<int>(cards.size()));
        int redrawFrom = -1;
        for (int b : c.moves)
            redrawFrom = MarkDrag(hand, c.press, b);
        EXPECT_EQ(Marked(hand), c.marks) << c.what;
        EXPECT_EQ(redrawFrom, c.redrawFrom) << c.what;
        ClickContext leading;
        leading.leads = true;
        ReleaseOnHand(hand, c.press, c.release, leading);
        EXPECT_EQ(Selected(hand), c.expected) << c.what;
        EXPECT_EQ(Marked(hand), "......") << c.what << ": no marks after the release";
        EXPECT_EQ(hand.SelectedCount(), hand.CountSelected()) << c.what;
    }
}

}  // namespace
