// Prints the pointer's cursor as the X server holds it, in its own pixels: "WIDTH HEIGHT HOTX HOTY".
#include <cstdio>
#include <xcb/xfixes.h>

int main()
{
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    // The server answers only a client that has told it the extension's version it speaks.
    xcb_discard_reply(x, xcb_xfixes_query_version(x, 4, 0).sequence);
    const auto* c = xcb_xfixes_get_cursor_image_reply(x, xcb_xfixes_get_cursor_image(x), nullptr);
    if (!c)
        return 1;
    std::printf("%u %u %u %u\n", c->width, c->height, c->xhot, c->yhot);
    return 0;
}
