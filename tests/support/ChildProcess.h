#pragma once
// Running part of a test in a forked copy of the test process: for what must not touch the test
// process itself (a crash, a lowered limit, another user's rights).

#include <functional>

namespace vlt::test {

// Runs `body` in a child process and returns its exit code, or 128 + the signal that ended it.
// The child ends with _exit, so nothing of the test framework runs twice.
int runInChild(const std::function<int()>& body);

// As runInChild, with the rights of an ordinary user: a child of root first becomes the user
// "nobody" (kNobody), since root's writes ignore file permissions. Exit code 125 when that fails.
inline constexpr unsigned kNobody = 65534;
int runAsOrdinaryUser(const std::function<int()>& body);

}  // namespace vlt::test
