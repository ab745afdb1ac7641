/* Widens a race in Mesa's software rasterizer so that it shows in seconds
 * rather than once an hour: each llvmpipe worker thread pauses for 3 ms right
 * after it broadcasts a condition (as it does when it signals a frame's fence)
 * and before it unlocks the fence's mutex.  Loaded with LD_PRELOAD; see run. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <pthread.h>
#include <string.h>
#include <unistd.h>

int pthread_cond_broadcast(pthread_cond_t* cond) {
    static int (*real)(pthread_cond_t*);
    if (!real) real = (int (*)(pthread_cond_t*))dlvsym(RTLD_NEXT, "pthread_cond_broadcast", "GLIBC_2.3.2");
    const int result = real(cond);
    char name[16] = "";
    pthread_getname_np(pthread_self(), name, sizeof name);
    if (strncmp(name, "llvmpipe", 8) == 0) usleep(3000);
    return result;
}
