#include "Unprivileged.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

int Unprivileged::run(const std::function<int()>& job)
{
#ifdef Q_OS_UNIX
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(NobodyId) != 0 || ::setuid(NobodyId) != 0))
            ::_exit(CannotDropPrivileges);
        int code = 101;
        try {
            code = job();
        } catch (...) {
            code = 102;
        }
        ::_exit(code);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
#else
    Q_UNUSED(job);
    return -1;
#endif
}
