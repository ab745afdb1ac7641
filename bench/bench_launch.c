/* bench_launch PROGRAM [ARGS...]: stamps CLOCK_MONOTONIC into ZARVO_BENCH_T0,
 * then runs the program (which the preloaded swap shim ends at its first swap)
 * and returns its exit status. */
#define _GNU_SOURCE
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: bench_launch PROGRAM [ARGS...]\n");
        return 2;
    }
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    char stamp[32];
    snprintf(stamp, sizeof stamp, "%lld", ts.tv_sec * 1000000000LL + ts.tv_nsec);
    setenv("ZARVO_BENCH_T0", stamp, 1);
    pid_t pid = fork();
    if (pid == 0) {
        execv(argv[1], argv + 1);
        perror("execv");
        _exit(127);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) return 1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
