/* Preloaded into the game (LD_PRELOAD), writes the wall-clock time of every
 * SDL_GL_SwapWindow, one per line in seconds, to the file named by
 * TUBEWYRM_FRAME_LOG when the process ends: the frames as the player saw
 * them, without changing the game. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef void (*SwapWindow)(void*);

enum { mostFrames = 1 << 20 };
static double times[mostFrames];
static int count;

static void writeTimes(void) {
    const char* path = getenv("TUBEWYRM_FRAME_LOG");
    FILE* out = path ? fopen(path, "w") : NULL;
    if (!out) return;
    for (int i = 0; i < count; ++i) fprintf(out, "%.6f\n", times[i]);
    fclose(out);
}

void SDL_GL_SwapWindow(void* window) {
    static SwapWindow real;
    if (!real) {
        real = (SwapWindow)dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
        atexit(writeTimes);
    }
    real(window);
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    if (count < mostFrames) times[count++] = (double)now.tv_sec + (double)now.tv_nsec * 1e-9;
}
