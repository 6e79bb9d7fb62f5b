#include "data/Chains.h"

#include <algorithm>
#include <new>
#include <utility>

namespace slumra {

TPointerChain::TPointerChain(std::string name) : FChainName(std::move(name)) {}

TPointerChain::~TPointerChain() = default;

ChainLink* TPointerChain::NewLink() {
    ChainLink* link = nullptr;
    if (FFreeLinks != nullptr) {
        link = FFreeLinks;
        FFreeLinks = link->Next;
        *link = ChainLink{};
        return link;
    }
    if (FBlocks.empty() || FBlockUsed == FBlockSize) {
        // Blocks grow with the chain: a short chain stays small, a long one takes few blocks.
        const std::size_t size = std::min<std::size_t>(std::max<std::size_t>(16, static_cast<std::size_t>(FCount)), 65536);
        std::unique_ptr<ChainLink[]> block(new (std::nothrow) ChainLink[size]);
        if (!block) return nullptr;
        FBlocks.push_back(std::move(block));
        FBlockUsed = 0;
        FBlockSize = size;
    }
    link = &FBlocks.back()[FBlockUsed++];
    *link = ChainLink{};
    return link;
}

void TPointerChain::FreeLink(ChainLink* link) {
    link->Next = FFreeLinks;
    FFreeLinks = link;
}

void TPointerChain::Clear() {
    FBlocks.clear();
    FBlockUsed = FBlockSize = 0;
    FFreeLinks = nullptr;
    FCount = 0;
    FCursor = FFirst = FLast = nullptr;
    FCursorNo = 0;
}

void TPointerChain::Reserve(std::int32_t count) {
    const std::size_t free = FBlockSize - FBlockUsed;
    if (count <= FCount || static_cast<std::size_t>(count - FCount) <= free) return;
    const auto size = static_cast<std::size_t>(count - FCount);
    std::unique_ptr<ChainLink[]> block(new (std::nothrow) ChainLink[size]);
    if (!block) return;
    // The unused rest of the current block stays where it is, for reuse after removals.
    for (std::size_t i = FBlockUsed; i < FBlockSize; ++i) FreeLink(&FBlocks.back()[i]);
    FBlocks.push_back(std::move(block));
    FBlockUsed = 0;
    FBlockSize = size;
}

void TPointerChain::Position(std::int32_t n) {
    FLastSteps = 0;
    const std::int32_t c = FCursorNo;
    // Ties go to the far end: the comparisons are strict.
    if (n > c) {
        if (!((n - c) < (FCount - n))) {
            FCursor = FLast;
            FCursorNo = FCount;
        }
    } else if (n < c) {
        if (!((c - n) < (n - 1))) {
            FCursor = FFirst;
            FCursorNo = 1;
        }
    }
    if (n > FCursorNo) {
        while (FCursor->Next != nullptr && FCursorNo != n && FCursorNo < FCount) {
            FCursor = FCursor->Next;
            ++FCursorNo;
            ++FLastSteps;
        }
    } else if (n < FCursorNo) {
        while (FCursor->Prev != nullptr && FCursorNo != n && FCursorNo > 1) {
            FCursor = FCursor->Prev;
            --FCursorNo;
            ++FLastSteps;
        }
    }
}

void TPointerChain::ResetCursorToFirst() {
    if (FCount > 0) {
        FCursor = FFirst;
        FCursorNo = 1;
    }
}

void* TPointerChain::GetItem(std::int32_t n) {
    if (FCount <= 0 || n <= 0 || n > FCount) return nullptr;
    Position(n);
    return FCursorNo == n ? FCursor->Item : nullptr;
}

void TPointerChain::PutItem(std::int32_t n, void* item) {
    if (FCount > 0 && n >= 1 && n <= FCount) {
        Position(n);
        if (FCursor != nullptr && FCursorNo == n) {
            FCursor->Item = item;
            return;
        }
    }
    ResetCursorToFirst();
}

bool TPointerChain::Append(void* item) {
    ChainLink* link = nullptr;
    try {
        link = NewLink();
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (link == nullptr) return false;
    link->Item = item;
    if (FCount > 0) {
        FLast->Next = link;
        link->Prev = FLast;
        ++FCount;
    } else {
        FCount = 1;
        FFirst = link;
    }
    FLast = link;
    FCursor = link;
    FCursorNo = FCount;
    return true;
}

bool TPointerChain::Remove(std::int32_t n) {
    if (FCount <= 0 || n > FCount) return false;
    if (n <= 0) {
        ResetCursorToFirst();
        return false;
    }
    Position(n);
    if (FCursorNo != n) {
        ResetCursorToFirst();
        return false;
    }
    ChainLink* link = FCursor;
    if (n == 1) FFirst = link->Next;
    if (n == FCount) FLast = link->Prev;
    if (link->Prev != nullptr) link->Prev->Next = link->Next;
    if (link->Next != nullptr) link->Next->Prev = link->Prev;
    FreeLink(link);
    --FCount;
    if (FCount < 1) {
        FCursor = nullptr;
        FCursorNo = 0;
        FFirst = nullptr;
        FLast = nullptr;
    } else {
        FCursor = FFirst;
        FCursorNo = 1;
    }
    return true;
}

}  // namespace slumra
