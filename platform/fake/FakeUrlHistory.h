// The recording URL history of native builds, and its test API.
#pragma once

#include "platform/UrlHistory.h"

namespace s::platform {

class FakeUrlHistory : public IUrlHistory {
public:
    // Makes the object's creation fail with `result` (kSOk: it can be made).
    virtual void failCreation(HResult result) = 0;
    // Successful ClearHistory calls.
    virtual int clears() = 0;
    // Creatable, no calls.
    virtual void clear() = 0;
};

FakeUrlHistory& fakeUrlHistory();

}  // namespace s::platform
