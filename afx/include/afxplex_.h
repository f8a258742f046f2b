// afxplex_.h - CPlex, the block allocator behind the lists and maps.
//
// A list or map takes its nodes from blocks of nBlockSize nodes chained through
// CPlex headers; freed nodes go to a free list and the blocks are released together
// when the collection becomes empty.
#pragma once

#include "afx.h"

struct AFX_CORE_CLASS CPlex
{
    CPlex* pNext;

    // The elements follow the header, aligned for any fundamental type.
    enum { nHeaderSize = (sizeof(void*) > 16 ? sizeof(void*) : 16) };
    void* data() { return (BYTE*)this + nHeaderSize; }

    // Allocates a block of nMax elements of cbElement bytes and links it at the
    // front of the chain. Throws CMemoryException when it cannot be had.
    static CPlex* PASCAL Create(CPlex*& pHead, UINT nMax, UINT cbElement);
    // Frees this block and every block after it in the chain.
    void FreeDataChain();
};
