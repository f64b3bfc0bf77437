#include "platform/win32/OtherThreadWindows.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vd::win32 {

namespace {

// A caption longer than this many characters is read cut to it.
constexpr size_t kLongestCaption = size_t{1} << 20;

struct Silence {
  DWORD since = 0;        // tick count of the request it did not take in time
  HWND window = nullptr;  // the window that was asked; the mark goes with it
};

// The threads that did not answer, shared by every user of the seam: the news that a thread
// answers again comes later, through a callback on the thread that asked.
std::mutex& SilenceLock() {
  static std::mutex lock;
  return lock;
}

std::unordered_map<DWORD, Silence>& Silent() {
  static std::unordered_map<DWORD, Silence> threads;
  return threads;
}

// Called on the asking thread once the silent thread has taken the message sent when it was
// found silent (everything queued for it before has been taken as well).
void CALLBACK Answered(HWND, UINT, ULONG_PTR thread, LRESULT) noexcept {
  std::lock_guard<std::mutex> hold(SilenceLock());
  Silent().erase(static_cast<DWORD>(thread));
}

void MarkNotAnswering(HWND hwnd, DWORD thread) {
  bool newly = false;
  {
    std::lock_guard<std::mutex> hold(SilenceLock());
    newly = Silent().insert_or_assign(thread, Silence{::GetTickCount(), hwnd}).second;
  }
  if (newly) ::SendMessageCallbackA(hwnd, WM_NULL, 0, 0, Answered, thread);
}

// The answers to the messages a batch of shows sent, each tagged with its batch so that a late
// answer to an earlier batch counts for nothing.
struct BatchAnswers {
  DWORD batch = 0;
  std::unordered_set<DWORD> threads;
};

BatchAnswers& Answers() {
  static BatchAnswers answers;
  return answers;
}

void CALLBACK BatchAnswered(HWND, UINT, ULONG_PTR tag, LRESULT) noexcept {
  BatchAnswers& answers = Answers();
  if (static_cast<DWORD>(tag >> 32) == answers.batch) {
    answers.threads.insert(static_cast<DWORD>(tag & 0xFFFFFFFFu));
  }
}

// Waits at most `ms` milliseconds for messages sent to this thread, then answers them (the
// answers to the messages this thread sent come the same way, to their callbacks).
void AnswerSentMessages(DWORD ms) {
  ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_SENDMESSAGE);
  MSG message;
  ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// How long a wait for answers sleeps at most before it looks again: each look asks the system
// something, and with many windows to wait on the looks would slow the windows they wait on.
constexpr DWORD kAnswerLookMs = 10;

}  // namespace

bool NotAnswering(DWORD thread) {
  std::lock_guard<std::mutex> hold(SilenceLock());
  auto it = Silent().find(thread);
  if (it == Silent().end()) return false;
  // After a while it is asked again; a thread whose window is gone (the number may come back
  // for a new thread) is forgotten.
  const Silence& silence = it->second;
  if (::GetTickCount() - silence.since >= kNotAnsweringMs ||
      ::GetWindowThreadProcessId(silence.window, nullptr) != thread) {
    Silent().erase(it);
    return false;
  }
  return true;
}

bool AwaitAnswer(HWND hwnd, DWORD thread) {
  if (NotAnswering(thread)) return false;
  DWORD_PTR result = 0;
  if (::SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                            &result) != 0) {
    return true;
  }
  if (::IsWindow(hwnd)) MarkNotAnswering(hwnd, thread);
  return false;
}

void AwaitVisibility(HWND hwnd, bool visible, DWORD askedAt) {
  while ((::IsWindowVisible(hwnd) != FALSE) != visible && ::IsWindow(hwnd) &&
         ::GetTickCount() - askedAt < kAnswerTimeoutMs) {
    AnswerSentMessages(1);  // messages sent to this thread are answered while it waits
  }
}

void AwaitShows(const std::vector<ShowRequest>& asked) {
  BatchAnswers& answers = Answers();
  const DWORD batch = ++answers.batch;
  answers.threads.clear();
  // One message to each thread asked (through its first window), all sent before any wait.
  std::unordered_map<DWORD, HWND> waitingOn;
  for (const ShowRequest& r : asked) {
    if (waitingOn.count(r.thread) || NotAnswering(r.thread)) continue;
    const ULONG_PTR tag = (static_cast<ULONG_PTR>(batch) << 32) | r.thread;
    if (::SendMessageCallbackA(r.window, WM_NULL, 0, 0, BatchAnswered, tag)) {
      waitingOn.emplace(r.thread, r.window);
    }
  }
  // The answers wake the wait as they come; it does not poll. With many windows the threads
  // share the processors and the last answers come late, so the wait ends when no thread has
  // answered for kAnswerTimeoutMs, not at a fixed time after the first request.
  DWORD lastAnswer = ::GetTickCount();
  size_t answered = 0;
  for (;;) {
    const DWORD now = ::GetTickCount();
    if (answers.threads.size() != answered) {
      answered = answers.threads.size();
      lastAnswer = now;
    }
    const DWORD waited = now - lastAnswer;
    if (answered >= waitingOn.size() || waited >= kAnswerTimeoutMs) break;
    AnswerSentMessages(std::min(kAnswerTimeoutMs - waited, kAnswerLookMs));
  }
  for (const auto& [thread, window] : waitingOn) {
    if (!answers.threads.count(thread) && ::IsWindow(window)) MarkNotAnswering(window, thread);
  }
  // Where the requests do not travel with the sent messages, the windows may still be at it.
  for (const ShowRequest& r : asked) {
    if (answers.threads.count(r.thread)) AwaitVisibility(r.window, r.visible, lastAnswer);
  }
}

std::wstring KeptCaption(HWND hwnd) {
  std::vector<WCHAR> wide(256);
  int copied = 0;
  for (;;) {
    copied = ::InternalGetWindowText(hwnd, wide.data(), static_cast<int>(wide.size()));
    // A full buffer may have cut the caption: read it again into a larger one.
    if (copied + 1 < static_cast<int>(wide.size()) || wide.size() >= kLongestCaption) break;
    wide.resize(wide.size() * 2);
  }
  return copied > 0 ? std::wstring(wide.data(), static_cast<size_t>(copied)) : std::wstring();
}

}  // namespace vd::win32
