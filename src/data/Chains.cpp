#include "data/Chains.h"

#include <new>
#include <utility>

namespace slumra {

TPointerChain::TPointerChain(std::string name) : FChainName(std::move(name)) {}

TPointerChain::~TPointerChain() {
    ChainLink* link = FLast;
    while (FCount > 0 && link != nullptr) {
        ChainLink* prev = link->Prev;
        delete link;
        --FCount;
        link = prev;
    }
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
    auto* link = new (std::nothrow) ChainLink;
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
    delete link;
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
