// What a call throws, for tests of code that reports failure by throwing a framework
// exception. The thrown object is deleted here, as a handler must.
#pragma once
#include "framework/framework.h"

// The m_cause of the E that f throws; -1 when f returns normally, -2 when it throws
// another framework exception.
template <class E, class F>
int ThrownCause(F f) {
    try {
        f();
    } catch (E* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    } catch (CException* e) {
        e->Delete();
        return -2;
    }
    return -1;
}

// Whether f throws an E; another framework exception counts as not.
template <class E, class F>
bool Throws(F f) {
    try {
        f();
    } catch (E* e) {
        e->Delete();
        return true;
    } catch (CException* e) {
        e->Delete();
    }
    return false;
}
