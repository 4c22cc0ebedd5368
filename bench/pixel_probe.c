/* Watches one pixel of the X screen ($DISPLAY) until it takes a colour, reading
 * it every millisecond, so startup.sh can time the program's windows far finer
 * than screenshots allow.
 *
 *   pixel_probe watch X Y R G B TIMEOUT_MS
 *       prints "ready" once connected, then "seen EPOCH_US" (wall clock, µs)
 *       when the pixel matches; the caller starts the program after "ready".
 *   pixel_probe click CX CY X Y R G B TIMEOUT_MS
 *       moves the pointer to (CX, CY), clicks there through XTest and prints
 *       "elapsed MS": from the button press to the pixel matching.
 *
 * A channel within 24 of the wanted value counts, as in the e2e tests.
 * Exit status: 0 matched, 1 timed out (prints the colour last seen), 2 misuse. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static double now_us(clockid_t clock) {
    struct timespec t;
    clock_gettime(clock, &t);
    return (double)t.tv_sec * 1e6 + (double)t.tv_nsec / 1e3;
}

static int channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!(mask & 1)) { mask >>= 1; ++shift; }
    return (int)(((pixel >> shift) & mask) * 255 / mask);
}

/* Reads one pixel of the root window into rgb; 0 when the server gave nothing. */
static int read_pixel(Display* d, Window root, int x, int y, int rgb[3]) {
    XImage* image = XGetImage(d, root, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0;
    unsigned long p = XGetPixel(image, 0, 0);
    rgb[0] = channel(p, image->red_mask);
    rgb[1] = channel(p, image->green_mask);
    rgb[2] = channel(p, image->blue_mask);
    XDestroyImage(image);
    return 1;
}

static int near(const int a[3], const int b[3]) {
    for (int i = 0; i < 3; ++i)
        if (abs(a[i] - b[i]) > 24) return 0;
    return 1;
}

/* Polls until the pixel matches or the deadline passes; 1 when it matched. */
static int wait_for(Display* d, Window root, int x, int y, const int want[3], double timeout_ms, int seen[3]) {
    const double deadline = now_us(CLOCK_MONOTONIC) + timeout_ms * 1000.0;
    const struct timespec pause = {0, 1000000};
    seen[0] = seen[1] = seen[2] = -1;
    while (now_us(CLOCK_MONOTONIC) < deadline) {
        if (read_pixel(d, root, x, y, seen) && near(seen, want)) return 1;
        nanosleep(&pause, NULL);  // a busy loop would steal the core the program needs
    }
    return 0;
}

static int number(const char* text) { return (int)strtol(text, NULL, 10); }

int main(int argc, char** argv) {
    const int watch = argc == 8 && strcmp(argv[1], "watch") == 0;
    const int click = argc == 10 && strcmp(argv[1], "click") == 0;
    if (!watch && !click) {
        fprintf(stderr, "usage: %s watch X Y R G B TIMEOUT_MS\n"
                        "       %s click CX CY X Y R G B TIMEOUT_MS\n", argv[0], argv[0]);
        return 2;
    }
    const int at = click ? 4 : 2;  // where X Y R G B TIMEOUT_MS start
    const int x = number(argv[at]), y = number(argv[at + 1]);
    const int want[3] = {number(argv[at + 2]), number(argv[at + 3]), number(argv[at + 4])};
    const double timeout_ms = number(argv[at + 5]);

    Display* d = XOpenDisplay(NULL);
    if (!d) { fprintf(stderr, "pixel_probe: cannot open display\n"); return 2; }
    Window root = DefaultRootWindow(d);
    int seen[3];

    if (watch) {
        printf("ready\n");
        fflush(stdout);
        if (!wait_for(d, root, x, y, want, timeout_ms, seen)) goto timed_out;
        printf("seen %.0f\n", now_us(CLOCK_REALTIME));
        return 0;
    }

    int event, error, major, minor;
    if (!XTestQueryExtension(d, &event, &error, &major, &minor)) {
        fprintf(stderr, "pixel_probe: the X server has no XTest\n");
        return 2;
    }
    if (read_pixel(d, root, x, y, seen) && near(seen, want)) {
        fprintf(stderr, "pixel_probe: (%d, %d) already has that colour before the click\n", x, y);
        return 2;
    }
    XTestFakeMotionEvent(d, -1, number(argv[2]), number(argv[3]), CurrentTime);
    XSync(d, False);
    // Let the program see the pointer arrive, as a hand would, before the press.
    const struct timespec settle = {0, 50000000};
    nanosleep(&settle, NULL);
    const double start = now_us(CLOCK_MONOTONIC);
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
    XSync(d, False);
    if (!wait_for(d, root, x, y, want, timeout_ms, seen)) goto timed_out;
    printf("elapsed %.1f\n", (now_us(CLOCK_MONOTONIC) - start) / 1000.0);
    return 0;

timed_out:
    printf("timeout %d %d %d\n", seen[0], seen[1], seen[2]);
    return 1;
}
