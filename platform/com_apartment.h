#pragma once

// The COM apartment of a thread, reduced to what our callers rely on: every
// initialise is counted on the calling thread and every uninitialise takes
// one back, so a routine can be checked to leave its thread as it came in.
namespace quorrin {

// Enters the apartment of the calling thread, or counts one more entry.
// True when this call was the first entry on the thread.
bool coInitialize();

// Takes back one entry of the calling thread; an uninitialise without a
// matching initialise is ignored rather than driving the count below zero.
void coUninitialize();

// How many initialisations of the calling thread are not yet taken back.
[[nodiscard]] int comInitCount();

// Holds one initialisation of the calling thread for its lifetime. It must be
// destroyed on the thread that made it, so it can be neither copied nor moved.
class ComApartment {
  public:
    ComApartment() { coInitialize(); }
    ~ComApartment() { coUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ComApartment(ComApartment&&) = delete;
    ComApartment& operator=(ComApartment&&) = delete;
};

}  // namespace quorrin
