// BitSet.h - a fixed set of 32 flags held in one 32-bit word.
//
//   CBitSet   single bits, bit fields (start, length) and the whole word
//
// Bit positions are never checked: only their low five bits count, the way the
// processor's shift instructions treat a shift count.
#pragma once

#include <afx.h>

class AFX_EXT_CLASS CBitSet
{
public:
// Construction
    CBitSet(DWORD bits = 0);
    CBitSet(const CBitSet& other);

    const CBitSet& operator=(const CBitSet& other);
    const CBitSet& operator=(DWORD bits);

// Attributes
    operator DWORD() const;
    DWORD GetBits() const;
    void SetBits(DWORD bits);
    int GetSize() const;

    // 1 if the bit is set, else 0.
    BOOL GetAt(int bit) const;
    BOOL operator[](int bit) const;
    void SetAt(int bit, BOOL value);

    // A field of count bits from bit start, shifted down to bit 0. A count of 0
    // or less is an empty field, 32 or more the whole word; a field running
    // past bit 31 ends there.
    DWORD GetBits(int start, int count) const;
    // Replaces the field with the low count bits of value.
    void SetBits(int start, int count, DWORD value);
    void ClearBits(int start, int count);
    void ClearAllBits();

// Operations
    const CBitSet& operator&=(const CBitSet& other);
    const CBitSet& operator&=(DWORD bits);
    const CBitSet& operator|=(const CBitSet& other);
    const CBitSet& operator|=(DWORD bits);

// Implementation
protected:
    DWORD m_dwBits;
};
