// Tests of the framework's linked list.
#include "afx.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

typedef CList<int, int> IntList;

std::vector<int> Items(const IntList& l)
{
    std::vector<int> v;
    for (POSITION pos = l.GetHeadPosition(); pos;)
        v.push_back(l.GetNext(pos));
    return v;
}

std::vector<int> ItemsBackward(const IntList& l)
{
    std::vector<int> v;
    for (POSITION pos = l.GetTailPosition(); pos;)
        v.push_back(l.GetPrev(pos));
    return v;
}

typedef std::vector<int> V;

TEST(CList, EmptyList)
{
    IntList l(10);
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_EQ(0, l.GetCount());
    EXPECT_EQ(NULL, l.GetHeadPosition());
    EXPECT_EQ(NULL, l.GetTailPosition());
    EXPECT_EQ(NULL, l.FindIndex(0));
    EXPECT_EQ(NULL, l.Find(1));
    l.RemoveAll();
    EXPECT_TRUE(l.IsEmpty());
}

// Each step edits the list; positions taken before stay usable.
TEST(CList, PositionsSurviveInsertionsAndRemovals)
{
    IntList l;
    POSITION p1 = l.AddTail(1);
    POSITION p3 = l.AddTail(3);
    POSITION p0 = l.AddHead(0);
    POSITION p2 = l.InsertBefore(p3, 2);
    POSITION p4 = l.InsertAfter(p3, 4);
    EXPECT_EQ(V({ 0, 1, 2, 3, 4 }), Items(l));
    EXPECT_EQ(V({ 4, 3, 2, 1, 0 }), ItemsBackward(l));
    EXPECT_EQ(5, l.GetCount());
    EXPECT_EQ(5, l.GetSize());

    l.RemoveAt(p2);
    EXPECT_EQ(V({ 0, 1, 3, 4 }), Items(l));
    EXPECT_EQ(1, l.GetAt(p1));
    EXPECT_EQ(3, l.GetAt(p3));
    l.RemoveAt(p0);  // the head
    l.RemoveAt(p4);  // the tail
    EXPECT_EQ(V({ 1, 3 }), Items(l));
    EXPECT_EQ(p1, l.GetHeadPosition());
    EXPECT_EQ(p3, l.GetTailPosition());

    POSITION p5 = l.InsertAfter(p1, 5);
    l.SetAt(p5, 55);
    EXPECT_EQ(V({ 1, 55, 3 }), Items(l));
    l.GetAt(p3) = 33;  // GetAt hands out the element itself
    EXPECT_EQ(V({ 1, 55, 33 }), Items(l));

    // NULL positions insert at the ends.
    l.InsertBefore(NULL, -1);
    l.InsertAfter(NULL, 99);
    EXPECT_EQ(V({ -1, 1, 55, 33, 99 }), Items(l));
    EXPECT_EQ(-1, l.GetHead());
    EXPECT_EQ(99, l.GetTail());
}

TEST(CList, GetNextAdvancesAndEndsWithNull)
{
    IntList l;
    l.AddTail(7);
    l.AddTail(8);
    POSITION pos = l.GetHeadPosition();
    int& first = l.GetNext(pos);
    first = 70;
    ASSERT_NE(nullptr, pos);
    EXPECT_EQ(8, l.GetNext(pos));
    EXPECT_EQ(nullptr, pos);
    EXPECT_EQ(70, l.GetHead());
}

TEST(CList, RemoveWhileWalking)
{
    IntList l;
    for (int i = 0; i < 10; ++i)
        l.AddTail(i);
    for (POSITION pos = l.GetHeadPosition(); pos;) {
        POSITION cur = pos;
        if (l.GetNext(pos) % 2)
            l.RemoveAt(cur);
    }
    EXPECT_EQ(V({ 0, 2, 4, 6, 8 }), Items(l));
    EXPECT_EQ(0, l.RemoveHead());
    EXPECT_EQ(8, l.RemoveTail());
    EXPECT_EQ(V({ 2, 4, 6 }), Items(l));
    EXPECT_EQ(V({ 6, 4, 2 }), ItemsBackward(l));
    l.RemoveHead();
    l.RemoveHead();
    l.RemoveTail();
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_EQ(NULL, l.GetHeadPosition());
    l.AddTail(1);
    EXPECT_EQ(V({ 1 }), Items(l));
}

struct IndexCase
{
    int index;
    int expected;  // -1: no position
};

class CListFindIndex : public ::testing::TestWithParam<IndexCase>
{};

TEST_P(CListFindIndex, CountsFromTheHead)
{
    IntList l;
    for (int i = 10; i < 15; ++i)
        l.AddTail(i);
    POSITION pos = l.FindIndex(GetParam().index);
    if (GetParam().expected < 0) {
        EXPECT_EQ(NULL, pos);
    } else {
        ASSERT_NE(nullptr, pos);
        EXPECT_EQ(GetParam().expected, l.GetAt(pos));
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, CListFindIndex,
                         ::testing::Values(IndexCase{ 0, 10 }, IndexCase{ 4, 14 }, IndexCase{ 2, 12 },
                                           IndexCase{ 5, -1 }, IndexCase{ -1, -1 }, IndexCase{ 1000, -1 }));

TEST(CList, FindStartsAfterTheGivenPosition)
{
    IntList l;
    POSITION a = l.AddTail(5);
    l.AddTail(6);
    POSITION b = l.AddTail(5);
    EXPECT_EQ(a, l.Find(5));
    EXPECT_EQ(b, l.Find(5, a));
    EXPECT_EQ(NULL, l.Find(5, b));
    EXPECT_EQ(NULL, l.Find(7));
}

TEST(CList, AppendsAndPrependsWholeLists)
{
    IntList a, b;
    a.AddTail(1);
    a.AddTail(2);
    b.AddTail(3);
    b.AddTail(4);
    a.AddTail(&b);
    EXPECT_EQ(V({ 1, 2, 3, 4 }), Items(a));
    EXPECT_EQ(V({ 3, 4 }), Items(b)) << "the source keeps its elements";
    a.AddHead(&b);
    EXPECT_EQ(V({ 3, 4, 1, 2, 3, 4 }), Items(a));
    a.AddTail(&a);  // appending a list to itself doubles it once
    EXPECT_EQ(12, a.GetCount());
}

// A record with its own assignment, which copies only part of it.
struct Record
{
    std::string name;
    int assigned = 0;
    int extra = 0;
    Record() {}
    Record(const std::string& n, int e) : name(n), extra(e) {}
    Record(const Record& o) : name(o.name), assigned(o.assigned), extra(o.extra) {}
    Record& operator=(const Record& o)
    {
        name = o.name;
        assigned = o.assigned + 1;
        return *this;  // extra is not copied
    }
    bool operator==(const Record& o) const { return name == o.name; }
};

TEST(CList, ElementsAreAssigned)
{
    CList<Record, Record&> l(10);
    Record r("site", 7);
    POSITION pos = l.AddTail(r);
    EXPECT_EQ("site", l.GetAt(pos).name);
    EXPECT_EQ(1, l.GetAt(pos).assigned);
    EXPECT_EQ(0, l.GetAt(pos).extra);
    Record probe("site", 0);
    EXPECT_EQ(pos, l.Find(probe));
    l.SetAt(pos, probe);
    EXPECT_EQ(1, l.GetAt(pos).assigned);
}

TEST(CList, OwnsStringElements)
{
    CList<CString, CString&> l;
    {
        CString s(L"temporary");
        l.AddTail(s);
    }
    CString t(L"second");
    l.AddHead(t);
    t = L"changed";
    EXPECT_TRUE(l.GetHead() == L"second");
    EXPECT_TRUE(l.GetTail() == L"temporary");
}

}  // namespace
