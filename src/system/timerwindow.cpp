#include "system/timerwindow.h"

#include <QObject>
#include <QTimerEvent>

#include <algorithm>

namespace {
std::function<bool()>& AllowHook() {
    static std::function<bool()> hook;
    return hook;
}
std::vector<TTimerWindow*>& Registry() {
    static std::vector<TTimerWindow*> windows;
    return windows;
}
} // namespace

class TTimerWindow::TEventTarget : public QObject {
  public:
    explicit TEventTarget(TTimerWindow* window) : FWindow(window) {}

  protected:
    void timerEvent(QTimerEvent* event) override {
        for (const auto& [id, timer] : FWindow->FTimers)
            if (timer.first == event->timerId()) {
                FWindow->Fire(id);
                return;
            }
    }

  private:
    TTimerWindow* FWindow;
};

TTimerWindow::TTimerWindow(TWndProc wndProc)
    : FWndProc(std::move(wndProc)), FTarget(std::make_unique<TEventTarget>(this)) {
    Registry().push_back(this);
}

TTimerWindow::~TTimerWindow() {
    for (const auto& [id, timer] : FTimers) FTarget->killTimer(timer.first);
    FTimers.clear();
    auto& all = Registry();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

bool TTimerWindow::SetTimer(unsigned id, int intervalMs) {
    KillTimer(id);
    if (AllowHook() && !AllowHook()()) return false;
    int qtId = FTarget->startTimer(intervalMs, Qt::PreciseTimer);
    if (qtId == 0) return false;
    FTimers[id] = {qtId, intervalMs};
    return true;
}

void TTimerWindow::KillTimer(unsigned id) {
    auto it = FTimers.find(id);
    if (it == FTimers.end()) return;
    FTarget->killTimer(it->second.first);
    FTimers.erase(it);
}

bool TTimerWindow::IsRunning(unsigned id) const { return FTimers.count(id) != 0; }

int TTimerWindow::Interval(unsigned id) const {
    auto it = FTimers.find(id);
    return it == FTimers.end() ? 0 : it->second.second;
}

LRESULT TTimerWindow::Send(unsigned msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    if (FWndProc) FWndProc(message);
    return message.Result;
}

void TTimerWindow::Fire(unsigned id) { Send(WM_TIMER, id, 0); }

void TTimerWindow::SetAllowTimersHook(std::function<bool()> hook) { AllowHook() = std::move(hook); }

const std::vector<TTimerWindow*>& TTimerWindow::All() { return Registry(); }
