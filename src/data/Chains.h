// TPointerChain: a doubly linked chain of untyped item pointers addressed by 1-based
// position, with a remembered cursor so that walking forward or releasing from the end costs
// one step per call. The chain owns its links, never its items; the links come from blocks
// of many, so a chain of a million items costs a handful of allocations.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace slumra {

// Links are made in blocks and left unset until used (ChainLink{} is all null).
struct ChainLink {
    void* Item;
    ChainLink* Next;
    ChainLink* Prev;
};

class TPointerChain {
public:
    explicit TPointerChain(std::string name = {});
    ~TPointerChain();
    TPointerChain(const TPointerChain&) = delete;
    TPointerChain& operator=(const TPointerChain&) = delete;

    std::int32_t Count() const { return FCount; }
    const std::string& ChainName() const { return FChainName; }

    // Moves the cursor to n and returns its item; null (cursor unmoved) when n is out of range.
    void* GetItem(std::int32_t n);
    // Replaces the item of link n; an out-of-range n resets the cursor to the first link.
    void PutItem(std::int32_t n, void* item);
    // Adds a link after the last one; false (nothing changed) when no link can be allocated.
    [[nodiscard]] bool Append(void* item);
    // Unlinks and frees link n (its item is left alone); the cursor then sits at the first link.
    bool Remove(std::int32_t n);
    // Frees every link at once (the items are left alone).
    void Clear();
    // Makes room for `count` links in all, so that appending them allocates once.
    void Reserve(std::int32_t count);

    // For tests and diagnostics: where the cursor is.
    std::int32_t CursorNo() const { return FCursorNo; }
    // For tests: how many links the last positioning stepped over.
    std::int32_t LastSteps() const { return FLastSteps; }

private:
    // Moves the cursor towards n from the nearest of cursor, first and last link.
    void Position(std::int32_t n);
    void ResetCursorToFirst();
    ChainLink* NewLink();
    void FreeLink(ChainLink* link);

    std::int32_t FCount = 0;
    ChainLink* FCursor = nullptr;
    std::int32_t FCursorNo = 0;
    ChainLink* FFirst = nullptr;
    ChainLink* FLast = nullptr;
    std::string FChainName;
    std::int32_t FLastSteps = 0;
    // Link storage: blocks handed out front to back, freed links kept for reuse (chained
    // through Next).
    std::vector<std::unique_ptr<ChainLink[]>> FBlocks;
    std::size_t FBlockUsed = 0;
    std::size_t FBlockSize = 0;
    ChainLink* FFreeLinks = nullptr;
};

}  // namespace slumra
