#include "render/frame_viewport.h"

#include "platform/platform.h"
#include "render/gl.h"
#include "render/window_size.h"

FrameViewport letterboxViewport(int drawableWidth, int drawableHeight) {
    if (drawableWidth <= 0 || drawableHeight <= 0) return FrameViewport{};
    FrameViewport view;
    // In 64 bits: the products of two sizes need not fit in an int.
    const long long wide = static_cast<long long>(drawableWidth) * windowHeight;
    const long long tall = static_cast<long long>(drawableHeight) * windowWidth;
    if (wide <= tall) {
        view.width = drawableWidth;
        view.height = static_cast<int>(wide / windowWidth);
    } else {
        view.width = static_cast<int>(tall / windowHeight);
        view.height = drawableHeight;
    }
    view.x = (drawableWidth - view.width) / 2;
    view.y = (drawableHeight - view.height) / 2;
    return view;
}

void setFrameViewport() {
    const PixelSize drawable = drawableSize();
    const FrameViewport view = letterboxViewport(drawable.width, drawable.height);
    glViewport(view.x, view.y, view.width, view.height);
}
