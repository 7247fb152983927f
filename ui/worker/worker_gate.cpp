#include "worker/worker_gate.h"

namespace ostrac::ui {

void WorkerGate::update_attention() {
    attention_.store(access_held_ || stopping_, std::memory_order_release);
}

void WorkerGate::enter() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !access_held_ || stopping_; });
    at_rest_ = false;
}

bool WorkerGate::between_steps() {
    if (!attention_.load(std::memory_order_acquire)) return true;
    std::unique_lock lock(mutex_);
    at_rest_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return !access_held_ || stopping_; });
    at_rest_ = false;
    return !stopping_;
}

void WorkerGate::suspend() {
    std::unique_lock lock(mutex_);
    at_rest_ = true;
    parked_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return (resume_ && !access_held_) || stopping_; });
    resume_ = false;
    parked_ = false;
    at_rest_ = false;
}

void WorkerGate::leave() {
    std::lock_guard lock(mutex_);
    at_rest_ = true;
    changed_.notify_all();
}

void WorkerGate::request_stop() {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    update_attention();
    changed_.notify_all();
}

bool WorkerGate::suspended() const {
    std::lock_guard lock(mutex_);
    return parked_;
}

void WorkerGate::wait_until_suspended() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return parked_; });
}

WorkerGate::SessionAccess::SessionAccess(WorkerGate& gate, session::Session& session)
    : gate_(gate), session_(session) {
    std::unique_lock lock(gate_.mutex_);
    gate_.access_held_ = true;
    gate_.update_attention();
    gate_.changed_.wait(lock, [this] { return gate_.at_rest_; });
}

WorkerGate::SessionAccess::~SessionAccess() {
    std::lock_guard lock(gate_.mutex_);
    gate_.access_held_ = false;
    gate_.update_attention();
    gate_.changed_.notify_all();
}

void WorkerGate::SessionAccess::resume() {
    std::lock_guard lock(gate_.mutex_);
    if (gate_.parked_) gate_.resume_ = true;
}

}  // namespace ostrac::ui
