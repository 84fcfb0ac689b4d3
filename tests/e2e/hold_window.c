// Preloaded into a program under test (LD_PRELOAD) to look at a window that
// stands only for a moment, without racing the program: the first time the
// program unmaps or destroys a mapped top-level window of the size
// X11_HOLD_SIZE ("WxH"), it waits until the X server has carried out all
// it asked before (so the screen shows what the window drew last), writes
// the window's id to the file X11_HOLD_FILE and waits until a file of that
// name with ".go" added exists (at most X11_HOLD_SECONDS, default 300).
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

static int held;

static int matches(xcb_connection_t *c, xcb_window_t window, unsigned width, unsigned height)
{
    // Each reply is a round trip: the server has done every earlier request.
    xcb_get_geometry_reply_t *geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), NULL);
    xcb_get_window_attributes_reply_t *attributes =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), NULL);
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, window), NULL);
    const int yes = geometry && attributes && tree && geometry->width == width && geometry->height == height
                    && attributes->map_state == XCB_MAP_STATE_VIEWABLE && tree->parent == tree->root;
    free(geometry);
    free(attributes);
    free(tree);
    return yes;
}

static void hold(xcb_connection_t *c, xcb_window_t window)
{
    const char *size = getenv("X11_HOLD_SIZE"), *file = getenv("X11_HOLD_FILE");
    const char *seconds = getenv("X11_HOLD_SECONDS");
    unsigned width, height;
    if (held || !size || !file || sscanf(size, "%ux%u", &width, &height) != 2 || !matches(c, window, width, height))
        return;
    held = 1;

    char written[4096], go[4096];
    snprintf(written, sizeof written, "%s.new", file);
    snprintf(go, sizeof go, "%s.go", file);
    FILE *out = fopen(written, "w");
    if (!out)
        return;
    fprintf(out, "0x%x\n", window);
    if (fclose(out) != 0 || rename(written, file) != 0)
        return;

    const long limit = (seconds ? atol(seconds) : 300) * 200;
    const struct timespec pause = {0, 5 * 1000 * 1000};
    for (long i = 0; i < limit && access(go, F_OK) != 0; ++i)
        nanosleep(&pause, NULL);
}

xcb_void_cookie_t xcb_unmap_window(xcb_connection_t *c, xcb_window_t window)
{
    static xcb_void_cookie_t (*next)(xcb_connection_t *, xcb_window_t);
    if (!next)
        next = (xcb_void_cookie_t (*)(xcb_connection_t *, xcb_window_t))dlsym(RTLD_NEXT, "xcb_unmap_window");
    hold(c, window);
    return next(c, window);
}

xcb_void_cookie_t xcb_destroy_window(xcb_connection_t *c, xcb_window_t window)
{
    static xcb_void_cookie_t (*next)(xcb_connection_t *, xcb_window_t);
    if (!next)
        next = (xcb_void_cookie_t (*)(xcb_connection_t *, xcb_window_t))dlsym(RTLD_NEXT, "xcb_destroy_window");
    hold(c, window);
    return next(c, window);
}
