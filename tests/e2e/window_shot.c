// Preloaded into a program under test (LD_PRELOAD) to look at a window that
// stands only for a moment, without racing the program: the first time the
// program unmaps or destroys a mapped top-level window of the size
// X11_SHOT_SIZE ("WxH"), it waits until the X server has carried out all
// it asked before, so that the screen shows what the window drew last, and
// writes what the screen shows there to X11_SHOT_FILE (a PPM picture), and
// the ids of the other top-level windows mapped then, one a line, to the
// same name with ".windows" added. The program goes on at once.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <xcb/xcb.h>

static int taken;

static void write_windows(xcb_connection_t *c, xcb_window_t root, xcb_window_t window, const char *name)
{
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), NULL);
    FILE *out = fopen(name, "w");
    if (tree && out) {
        const xcb_window_t *children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            xcb_get_window_attributes_reply_t *a =
                xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), NULL);
            if (a && a->map_state == XCB_MAP_STATE_VIEWABLE && children[i] != window)
                fprintf(out, "%u\n", children[i]);
            free(a);
        }
    }
    if (out)
        fclose(out);
    free(tree);
}

// The screen's pixels at the window, as 24-bit colour in 32-bit pixels.
static void write_picture(xcb_connection_t *c, xcb_window_t root, int x, int y, int width, int height,
                          const char *name)
{
    xcb_get_image_reply_t *image = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, x, y, width, height, ~0u), NULL);
    FILE *out = fopen(name, "wb");
    if (image && out && xcb_get_image_data_length(image) >= width * height * 4) {
        const unsigned char *data = xcb_get_image_data(image);
        fprintf(out, "P6\n%d %d\n255\n", width, height);
        for (int i = 0; i < width * height; ++i) {
            const unsigned char rgb[3] = {data[4 * i + 2], data[4 * i + 1], data[4 * i]};
            fwrite(rgb, 1, 3, out);
        }
    }
    if (out)
        fclose(out);
    free(image);
}

static void look(xcb_connection_t *c, xcb_window_t window)
{
    const char *size = getenv("X11_SHOT_SIZE"), *file = getenv("X11_SHOT_FILE");
    unsigned width, height;
    if (taken || !size || !file || sscanf(size, "%ux%u", &width, &height) != 2)
        return;
    // Each reply is a round trip: the server has done every earlier request.
    xcb_get_geometry_reply_t *geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), NULL);
    xcb_get_window_attributes_reply_t *attributes =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), NULL);
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, window), NULL);
    if (geometry && attributes && tree && geometry->width == width && geometry->height == height
        && attributes->map_state == XCB_MAP_STATE_VIEWABLE && tree->parent == tree->root) {
        taken = 1;
        char windows[4096];
        snprintf(windows, sizeof windows, "%s.windows", file);
        write_windows(c, tree->root, window, windows);
        write_picture(c, tree->root, geometry->x + geometry->border_width, geometry->y + geometry->border_width,
                      width, height, file);
    }
    free(geometry);
    free(attributes);
    free(tree);
}

xcb_void_cookie_t xcb_unmap_window(xcb_connection_t *c, xcb_window_t window)
{
    static xcb_void_cookie_t (*next)(xcb_connection_t *, xcb_window_t);
    if (!next)
        next = (xcb_void_cookie_t (*)(xcb_connection_t *, xcb_window_t))dlsym(RTLD_NEXT, "xcb_unmap_window");
    look(c, window);
    return next(c, window);
}

xcb_void_cookie_t xcb_destroy_window(xcb_connection_t *c, xcb_window_t window)
{
    static xcb_void_cookie_t (*next)(xcb_connection_t *, xcb_window_t);
    if (!next)
        next = (xcb_void_cookie_t (*)(xcb_connection_t *, xcb_window_t))dlsym(RTLD_NEXT, "xcb_destroy_window");
    look(c, window);
    return next(c, window);
}
