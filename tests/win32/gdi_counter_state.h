// What the counted calls of gdi_counter.h have handed out.
#ifndef ZARVO_TESTS_GDI_COUNTER_STATE_H
#define ZARVO_TESTS_GDI_COUNTER_STATE_H

#include <vector>

struct Acquired {
    enum Kind { kBitmap, kMemoryDC, kWindowDC, kMenu } kind;
    void *handle;
};

void ResetAcquired();
std::vector<Acquired> LiveAcquired();  // taken and not yet given back
std::vector<Acquired> AllAcquired();   // everything taken since the reset

// Asks the system whether the object behind the handle still exists.
bool StillExists(const Acquired &a);

// From now on thread creation in the program fails (true) or works (false).
void FailThreadCreation(bool fail);

#endif
