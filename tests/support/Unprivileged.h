#pragma once

#include <functional>

// Runs a job in a forked child process under the unprivileged user "nobody" when the test runs as
// the superuser, whom file permissions do not bind; as anyone else the child keeps its identity.
// Returns the job's exit code (0 to 99), CannotDropPrivileges, or -1 when no child could run.
// Unix only.
namespace Unprivileged {

constexpr int CannotDropPrivileges = 100;
// The identity the child takes.
constexpr unsigned NobodyId = 65534;

int run(const std::function<int()>& job);

} // namespace Unprivileged
