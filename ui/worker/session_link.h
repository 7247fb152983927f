// What the program editor needs of the window that owns the session and
// its worker thread (the console).
#pragma once

#include "worker/worker_gate.h"

namespace ostrac::ui {

class SessionLink {
public:
    virtual ~SessionLink() = default;

    // Exclusive use of the session; the worker stays at rest meanwhile.
    virtual WorkerGate::SessionAccess session_access() = 0;

    // Resumes a parked worker once `access` ends and follows its output
    // until it parks again.
    virtual void resume_worker(WorkerGate::SessionAccess& access) = 0;

protected:
    SessionLink() = default;
    SessionLink(const SessionLink&) = default;
    SessionLink& operator=(const SessionLink&) = default;
};

}  // namespace ostrac::ui
