// Working on windows of other threads (other applications) without ever waiting on one whose
// thread has stopped taking messages: the program asks such a window to show, hide, move or
// raise itself with requests the system queues for its thread, then waits a short while for
// the thread to take them, so that a window that answers has done what was asked when the call
// returns and a hung one is left to do it when its application recovers. A thread that did not
// answer in time is not waited on again until it answers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vd::win32 {

// How long the program waits for another thread's window to take a request. A window that
// answers takes a few milliseconds.
inline constexpr DWORD kAnswerTimeoutMs = 200;
// How long a thread that did not answer is not waited on, unless it answers before.
inline constexpr DWORD kNotAnsweringMs = 5000;

// Whether the thread did not answer lately and has not answered since.
bool NotAnswering(DWORD thread);

// Sends the window a message that does nothing and waits, at most kAnswerTimeoutMs, until its
// thread has taken it, answering messages sent to the caller meanwhile. The thread takes what
// was sent to it in order, so on the systems where the queued requests travel with sent
// messages they are done too. False at once for a thread that is not answering; false also
// when the window did not answer in time, and its thread then counts as not answering.
bool AwaitAnswer(HWND hwnd, DWORD thread);

// After a show or hide that the window's thread answered: waits until the window is shown or
// hidden as asked, at most until kAnswerTimeoutMs after `askedAt` (a tick count).
void AwaitVisibility(HWND hwnd, bool visible, DWORD askedAt);

// A show or hide asked of a window of another thread.
struct ShowRequest {
  HWND window = nullptr;
  DWORD thread = 0;
  bool visible = false;  // shown (true) or hidden
};

// After several shows and hides asked at once: waits for every thread to answer and every
// window of an answering thread to be shown or hidden as asked, until no thread has answered
// for kAnswerTimeoutMs. The threads answer side by side, so the wait is about that of the
// slowest one, not the sum of them. A thread that did not answer counts as not answering.
void AwaitShows(const std::vector<ShowRequest>& asked);

// The window's caption as the system keeps it, read without sending the window a message.
std::wstring KeptCaption(HWND hwnd);

}  // namespace vd::win32
