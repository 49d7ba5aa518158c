// Arrays (growth, InsertAt/RemoveAt), lists and maps.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "afx.h"

namespace {
std::vector<int> Items(const CArray<int, int>& a)
{
    return std::vector<int>(a.GetData(), a.GetData() + a.GetSize());
}
}  // namespace

TEST(FrameworkArray, GrowsInStepsOfTheGrowByCount)
{
    CPtrArray a;
    a.SetSize(0, 10);
    a.Add(&a);
    void** pBlock = a.GetData();
    for (int i = 1; i < 10; i++)
        a.Add(NULL);
    EXPECT_EQ(pBlock, a.GetData());             // ten fit in the first block
    a.Add(NULL);
    EXPECT_NE(pBlock, a.GetData());             // the eleventh moves it
    pBlock = a.GetData();
    for (int i = 11; i < 20; i++)
        a.Add(NULL);
    EXPECT_EQ(pBlock, a.GetData());             // and twenty fit in the second
    EXPECT_EQ(20, a.GetSize());
    EXPECT_EQ(&a, a[0]);

    // Growing fills with zeros; shrinking keeps the front.
    CDWordArray d;
    d.SetSize(3, 10);
    EXPECT_EQ(0u, d[0] | d[1] | d[2]);
    d[1] = 5;
    d.SetSize(2);
    EXPECT_EQ(2, d.GetSize());
    EXPECT_EQ(5u, d.GetAt(1));
    d.SetSize(-1);                              // ignored
    EXPECT_EQ(2, d.GetSize());
    d.RemoveAll();
    EXPECT_TRUE(d.IsEmpty());
    EXPECT_EQ(nullptr, d.GetData());
}

TEST(FrameworkArray, InsertAtAndRemoveAt)
{
    struct Step { const char* what; void (*op)(CArray<int, int>&); std::vector<int> expected; };
    const Step steps[] = {
        {"insert in the middle", [](CArray<int, int>& a) { a.InsertAt(1, 9); }, {0, 9, 1, 2, 3}},
        {"insert several at the front", [](CArray<int, int>& a) { a.InsertAt(0, 7, 2); }, {7, 7, 0, 9, 1, 2, 3}},
        {"insert past the end fills the gap", [](CArray<int, int>& a) { a.InsertAt(9, 4); },
         {7, 7, 0, 9, 1, 2, 3, 0, 0, 4}},
        {"insert a copy of an element", [](CArray<int, int>& a) { a.InsertAt(0, a[9]); },
         {4, 7, 7, 0, 9, 1, 2, 3, 0, 0, 4}},
        {"remove a range", [](CArray<int, int>& a) { a.RemoveAt(1, 3); }, {4, 9, 1, 2, 3, 0, 0, 4}},
        {"remove past the end clips", [](CArray<int, int>& a) { a.RemoveAt(5, 100); }, {4, 9, 1, 2, 3}},
        {"bad indexes do nothing", [](CArray<int, int>& a) { a.RemoveAt(5); a.RemoveAt(-1); a.InsertAt(-1, 8); a.InsertAt(0, 8, 0); },
         {4, 9, 1, 2, 3}},
        {"remove the last", [](CArray<int, int>& a) { a.RemoveAt(a.GetUpperBound()); }, {4, 9, 1, 2}},
    };
    CArray<int, int> a;
    for (int i = 0; i < 4; i++)
        a.Add(i);
    for (const Step& s : steps) {
        s.op(a);
        EXPECT_EQ(s.expected, Items(a)) << s.what;
    }
}

TEST(FrameworkArray, ElementsWithOwnershipMoveCorrectly)
{
    CStringArray a;
    a.SetSize(0, 10);
    for (int i = 0; i < 25; i++) {
        CString s;
        s.Format("item %d", i);
        a.Add(s);
    }
    a.InsertAt(0, a[24]);                       // from inside the array while it grows
    a.RemoveAt(1, 5);
    ASSERT_EQ(21, a.GetSize());
    EXPECT_EQ("item 24", a[0]);
    EXPECT_EQ("item 5", a[1]);
    EXPECT_EQ("item 24", a[20]);

    CStringArray b;
    b.Add("x");
    b.Append(a);
    b.Append(b);
    EXPECT_EQ(44, b.GetSize());
    EXPECT_EQ("item 24", b[43]);
    a.Copy(b);
    EXPECT_EQ(44, a.GetSize());
    a.SetAtGrow(50, "last");
    EXPECT_EQ(51, a.GetSize());
    EXPECT_TRUE(a[49].IsEmpty());

    struct CItem { int n; };
    CTypedPtrArray<CPtrArray, CItem*> typed;
    CItem item{3};
    typed.Add(&item);
    EXPECT_EQ(3, typed[0]->n);
    CUIntArray u;
    u.Add(7);
    EXPECT_EQ(7u, u[0]);
}

TEST(FrameworkList, AddFindRemoveAndIterate)
{
    CPtrList list;
    int a = 1, b = 2, c = 3;
    list.AddTail(&b);
    list.AddTail(&c);
    list.AddHead(&a);
    ASSERT_EQ(3, list.GetCount());
    EXPECT_EQ(&a, list.GetHead());
    EXPECT_EQ(&c, list.GetTail());

    std::vector<void*> seen;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
        seen.push_back(list.GetNext(pos));
    EXPECT_EQ((std::vector<void*>{&a, &b, &c}), seen);

    POSITION posB = list.Find(&b);
    ASSERT_NE(nullptr, posB);
    EXPECT_EQ(nullptr, list.Find(&b, posB));
    list.InsertBefore(posB, &c);
    list.RemoveAt(posB);
    EXPECT_EQ(list.FindIndex(1), list.Find(&c));
    EXPECT_EQ(nullptr, list.FindIndex(3));
    EXPECT_EQ(nullptr, list.FindIndex(-1));

    seen.clear();
    for (POSITION pos = list.GetTailPosition(); pos != NULL;)
        seen.push_back(list.GetPrev(pos));
    EXPECT_EQ((std::vector<void*>{&c, &c, &a}), seen);

    EXPECT_EQ(&a, list.RemoveHead());
    EXPECT_EQ(&c, list.RemoveTail());
    EXPECT_EQ(1, list.GetCount());
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());

    CStringList names(10);
    names.AddTail("one");
    names.AddTail("two");
    names.AddTail(&names);                      // appending itself
    EXPECT_EQ(4, names.GetCount());
    EXPECT_EQ("two", names.GetTail());
    EXPECT_NE(nullptr, names.Find("two"));
    EXPECT_EQ(nullptr, names.Find("three"));
}

TEST(FrameworkMap, StringToPointerBasics)
{
    CMapStringToPtr map(10);
    int one = 1, two = 2;
    map.SetAt("one", &one);
    map["two"] = &two;
    map.SetAt("one", &two);                     // replaces
    EXPECT_EQ(2, map.GetCount());
    void* p = NULL;
    ASSERT_TRUE(map.Lookup("one", p));
    EXPECT_EQ(&two, p);
    EXPECT_FALSE(map.Lookup("ONE", p));         // keys are case-sensitive
    EXPECT_TRUE(map.RemoveKey("one"));
    EXPECT_FALSE(map.RemoveKey("one"));
    EXPECT_FALSE(map.Lookup("one", p));
    map.SetAt("中文", &one);
    EXPECT_TRUE(map.Lookup("中文", p));
    EXPECT_EQ(&one, p);
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(nullptr, map.GetStartPosition());
}

TEST(FrameworkMap, IterationVisitsEveryEntryOnceAndAllowsRemoval)
{
    CMap<int, int, int, int> map;
    map.InitHashTable(17);
    for (int i = 0; i < 100; i++)
        map[i * 7] = i;
    map.InitHashTable(31);                      // rehash keeps every entry
    EXPECT_EQ(100, map.GetCount());
    EXPECT_EQ(31u, map.GetHashTableSize());

    std::set<int> keys;
    for (POSITION pos = map.GetStartPosition(); pos != NULL;) {
        int key, value;
        map.GetNextAssoc(pos, key, value);
        EXPECT_EQ(key / 7, value);
        EXPECT_TRUE(keys.insert(key).second);
        if (value % 2 == 0)
            map.RemoveKey(key);                 // the one just returned
    }
    EXPECT_EQ(100u, keys.size());
    EXPECT_EQ(50, map.GetCount());
    int v;
    EXPECT_FALSE(map.Lookup(14, v));
    EXPECT_TRUE(map.Lookup(21, v));
    EXPECT_EQ(3, v);

    CMapStringToString names;
    names["a"] = "x";
    CString key, value;
    POSITION pos = names.GetStartPosition();
    names.GetNextAssoc(pos, key, value);
    EXPECT_EQ(nullptr, pos);
    EXPECT_EQ("a", key);
    EXPECT_EQ("x", value);
}
