// BitSet.cpp - CBitSet.
#include "BitSet.h"

namespace {

// Bit positions wrap at 32, like a shift count in the processor.
inline unsigned Wrap(int bit)
{
    return static_cast<unsigned>(bit) & 31u;
}

// Bits 0 to count - 1.
inline DWORD FieldMask(int count)
{
    // Every shift of the mask wraps at 32, so 32 or more bits fill the word.
    if (count <= 0)
        return 0;
    if (count >= 32)
        return 0xFFFFFFFFu;
    return (DWORD(1) << count) - 1;
}

} // namespace

CBitSet::CBitSet(DWORD bits)
    : m_dwBits(bits)
{
}

CBitSet::CBitSet(const CBitSet& other)
    : m_dwBits(other.m_dwBits)
{
}

const CBitSet& CBitSet::operator=(const CBitSet& other)
{
    m_dwBits = other.m_dwBits;
    return *this;
}

const CBitSet& CBitSet::operator=(DWORD bits)
{
    m_dwBits = bits;
    return *this;
}

CBitSet::operator DWORD() const
{
    return m_dwBits;
}

DWORD CBitSet::GetBits() const
{
    return m_dwBits;
}

void CBitSet::SetBits(DWORD bits)
{
    m_dwBits = bits;
}

int CBitSet::GetSize() const
{
    return 32;
}

BOOL CBitSet::GetAt(int bit) const
{
    return (m_dwBits >> Wrap(bit)) & 1u;
}

BOOL CBitSet::operator[](int bit) const
{
    return GetAt(bit);
}

void CBitSet::SetAt(int bit, BOOL value)
{
    // Any non-zero value counts as TRUE, as a BOOL does everywhere else.
    const DWORD mask = DWORD(1) << Wrap(bit);
    m_dwBits &= ~mask;
    if (value)
        m_dwBits |= mask;
}

DWORD CBitSet::GetBits(int start, int count) const
{
    const unsigned shift = Wrap(start);
    return ((FieldMask(count) << shift) & m_dwBits) >> shift;
}

void CBitSet::SetBits(int start, int count, DWORD value)
{
    const unsigned shift = Wrap(start);
    const DWORD mask = FieldMask(count);
    m_dwBits = (m_dwBits & ~(mask << shift)) | ((value & mask) << shift);
}

void CBitSet::ClearBits(int start, int count)
{
    SetBits(start, count, 0);
}

void CBitSet::ClearAllBits()
{
    m_dwBits = 0;
}

const CBitSet& CBitSet::operator&=(const CBitSet& other)
{
    m_dwBits &= other.m_dwBits;
    return *this;
}

const CBitSet& CBitSet::operator&=(DWORD bits)
{
    m_dwBits &= bits;
    return *this;
}

const CBitSet& CBitSet::operator|=(const CBitSet& other)
{
    m_dwBits |= other.m_dwBits;
    return *this;
}

const CBitSet& CBitSet::operator|=(DWORD bits)
{
    m_dwBits |= bits;
    return *this;
}
