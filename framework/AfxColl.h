// Collections: the doubly linked list template with positions.
#pragma once

#include <windows.h>
#include <stddef.h>

// An opaque place in a collection; NULL is no position.
struct __POSITION
{};
typedef __POSITION* POSITION;

// A doubly linked list. Each element lives in its own node, which never
// moves: a position stays valid until its own element is removed, whatever
// else is inserted or removed. Elements are default-constructed and then
// assigned, so a type's own assignment decides what a copy holds.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CList
{
    struct CNode : __POSITION
    {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    explicit CList(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize) {}
    ~CList() { RemoveAll(); }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // The list must not be empty.
    TYPE& GetHead() { return m_pHead->data; }
    const TYPE& GetHead() const { return m_pHead->data; }
    TYPE& GetTail() { return m_pTail->data; }
    const TYPE& GetTail() const { return m_pTail->data; }

    TYPE RemoveHead()
    {
        CNode* p = m_pHead;
        TYPE value = p->data;
        Unlink(p);
        return value;
    }
    TYPE RemoveTail()
    {
        CNode* p = m_pTail;
        TYPE value = p->data;
        Unlink(p);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return LinkBefore(m_pHead, NewNode(newElement)); }
    POSITION AddTail(ARG_TYPE newElement) { return LinkAfter(m_pTail, NewNode(newElement)); }
    // Appends or prepends copies of another list's elements, in order (the
    // list itself may be given: its elements are copied once).
    void AddHead(const CList* pNewList)
    {
        if (!pNewList)
            return;
        CNode* p = pNewList->m_pTail;
        for (INT_PTR n = pNewList->m_nCount; n > 0; --n, p = p->pPrev)
            AddHead(p->data);
    }
    void AddTail(const CList* pNewList)
    {
        if (!pNewList)
            return;
        CNode* p = pNewList->m_pHead;
        for (INT_PTR n = pNewList->m_nCount; n > 0; --n, p = p->pNext)
            AddTail(p->data);
    }

    void RemoveAll()
    {
        CNode* p = m_pHead;
        while (p) {
            CNode* next = p->pNext;
            delete p;
            p = next;
        }
        m_pHead = m_pTail = NULL;
        m_nCount = 0;
    }

    POSITION GetHeadPosition() const { return m_pHead; }
    POSITION GetTailPosition() const { return m_pTail; }

    // The element at rPosition; rPosition moves on, NULL after the last.
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode* p = Node(rPosition);
        rPosition = p->pNext;
        return p->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const
    {
        CNode* p = Node(rPosition);
        rPosition = p->pNext;
        return p->data;
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode* p = Node(rPosition);
        rPosition = p->pPrev;
        return p->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const
    {
        CNode* p = Node(rPosition);
        rPosition = p->pPrev;
        return p->data;
    }

    TYPE& GetAt(POSITION position) { return Node(position)->data; }
    const TYPE& GetAt(POSITION position) const { return Node(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { Node(pos)->data = newElement; }
    void RemoveAt(POSITION position) { Unlink(Node(position)); }

    // A NULL position inserts at the head (before) or the tail (after).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        if (!position)
            return AddHead(newElement);
        return LinkBefore(Node(position), NewNode(newElement));
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        if (!position)
            return AddTail(newElement);
        return LinkAfter(Node(position), NewNode(newElement));
    }

    // Position of the nIndex-th element from the head; NULL when out of range.
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return NULL;
        CNode* p = m_pHead;
        while (nIndex-- > 0)
            p = p->pNext;
        return p;
    }
    // First element equal to searchValue after startAfter (from the head
    // when NULL); NULL when there is none.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const
    {
        CNode* p = startAfter ? Node(startAfter)->pNext : m_pHead;
        for (; p; p = p->pNext)
            if (p->data == searchValue)
                return p;
        return NULL;
    }

private:
    static CNode* Node(POSITION pos) { return static_cast<CNode*>(pos); }

    static CNode* NewNode(ARG_TYPE value)
    {
        CNode* p = new CNode();
        p->pNext = p->pPrev = NULL;
        try {
            p->data = value;
        } catch (...) {
            delete p;
            throw;
        }
        return p;
    }
    POSITION LinkBefore(CNode* pWhere, CNode* p)
    {
        if (!pWhere)
            return LinkFirst(p);
        p->pNext = pWhere;
        p->pPrev = pWhere->pPrev;
        if (pWhere->pPrev)
            pWhere->pPrev->pNext = p;
        else
            m_pHead = p;
        pWhere->pPrev = p;
        ++m_nCount;
        return p;
    }
    POSITION LinkAfter(CNode* pWhere, CNode* p)
    {
        if (!pWhere)
            return LinkFirst(p);
        p->pPrev = pWhere;
        p->pNext = pWhere->pNext;
        if (pWhere->pNext)
            pWhere->pNext->pPrev = p;
        else
            m_pTail = p;
        pWhere->pNext = p;
        ++m_nCount;
        return p;
    }
    POSITION LinkFirst(CNode* p)
    {
        m_pHead = m_pTail = p;
        m_nCount = 1;
        return p;
    }
    void Unlink(CNode* p)
    {
        if (p->pPrev)
            p->pPrev->pNext = p->pNext;
        else
            m_pHead = p->pNext;
        if (p->pNext)
            p->pNext->pPrev = p->pPrev;
        else
            m_pTail = p->pPrev;
        --m_nCount;
        delete p;
    }

    CNode* m_pHead = NULL;
    CNode* m_pTail = NULL;
    INT_PTR m_nCount = 0;
    INT_PTR m_nBlockSize;
};
