#include "tools/bench/probe/TrayWatcher.h"

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "tools/bench/probe/PixelCheck.h"

namespace talvane::bench {

namespace {

// trayer nests embedded icons two or three levels below its top window.
constexpr int kTreeDepth = 6;
constexpr int kMinimumIconSide = 8;

template <typename T>
struct FreeReply {
    void operator()(T* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply<T>>;

std::vector<xcb_window_t> childrenOf(xcb_connection_t* c, xcb_window_t window) {
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
    if (!tree) {
        return {};
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return {children, children + xcb_query_tree_children_length(tree.get())};
}

// WM_CLASS holds "instance\0class\0".
bool hasClass(xcb_connection_t* c, xcb_window_t window, std::string_view wanted) {
    Reply<xcb_get_property_reply_t> property(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 64), nullptr));
    if (!property || property->format != 8) {
        return false;
    }
    const char* text = static_cast<const char*>(xcb_get_property_value(property.get()));
    const int length = xcb_get_property_value_length(property.get());
    std::string_view all(text, static_cast<std::size_t>(length));
    const std::size_t split = all.find('\0');
    if (split == std::string_view::npos) {
        return false;
    }
    std::string_view cls = all.substr(split + 1);
    if (!cls.empty() && cls.back() == '\0') {
        cls.remove_suffix(1);
    }
    return cls == wanted;
}

xcb_window_t findHost(xcb_connection_t* c, xcb_window_t root) {
    for (xcb_window_t top : childrenOf(c, root)) {
        if (hasClass(c, top, "trayer")) {
            return top;
        }
    }
    return XCB_NONE;
}

const xcb_format_t* formatForDepth(const xcb_setup_t* setup, int depth) {
    xcb_format_iterator_t it = xcb_setup_pixmap_formats_iterator(setup);
    for (; it.rem > 0; xcb_format_next(&it)) {
        if (it.data->depth == depth) {
            return it.data;
        }
    }
    return nullptr;
}

}  // namespace

TrayWatcher::TrayWatcher(xcb_connection_t* connection, xcb_window_t root, xcb_window_t host)
    : connection_(connection),
      root_(root),
      host_(host),
      resourceMask_(xcb_get_setup(connection)->resource_id_mask) {}

TrayWatcher::~TrayWatcher() { xcb_disconnect(connection_); }

std::unique_ptr<TrayWatcher> TrayWatcher::connect(std::string& error) {
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c) != 0) {
        xcb_disconnect(c);
        error = "cannot connect to the X display (DISPLAY is unset or refused)";
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    const xcb_window_t root = screens.data->root;
    const xcb_window_t host = findHost(c, root);
    if (host == XCB_NONE) {
        xcb_disconnect(c);
        error = "no tray host: no top-level window of class \"trayer\"";
        return nullptr;
    }
    return std::unique_ptr<TrayWatcher>(new TrayWatcher(c, root, host));
}

void TrayWatcher::collectForeign(xcb_window_t parent, int depthLeft, std::set<xcb_window_t>& out) {
    if (depthLeft == 0) {
        return;
    }
    for (xcb_window_t child : childrenOf(connection_, parent)) {
        if (IsForeignWindow(child, host_, resourceMask_)) {
            out.insert(child);  // an embedded client's own children are its business
        } else {
            collectForeign(child, depthLeft - 1, out);
        }
    }
}

void TrayWatcher::takeBaseline() {
    baseline_.clear();
    collectForeign(host_, kTreeDepth, baseline_);
}

IconObservation TrayWatcher::poll() {
    std::set<xcb_window_t> foreign;
    collectForeign(host_, kTreeDepth, foreign);
    IconObservation best;
    for (xcb_window_t window : foreign) {
        if (baseline_.count(window) != 0) {
            continue;
        }
        const IconObservation seen = inspect(window);
        if (seen.stage > best.stage || best.window == XCB_NONE) {
            best = seen;
        }
    }
    return best;
}

IconObservation TrayWatcher::inspect(xcb_window_t window) {
    xcb_connection_t* c = connection_;
    const auto attributesCookie = xcb_get_window_attributes(c, window);
    const auto geometryCookie = xcb_get_geometry(c, window);
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, attributesCookie, nullptr));
    Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, geometryCookie, nullptr));
    IconObservation seen;
    seen.window = window;
    if (!attributes || !geometry) {
        return seen;  // gone between the tree query and now
    }
    seen.width = geometry->width;
    seen.height = geometry->height;
    if (attributes->map_state != XCB_MAP_STATE_VIEWABLE || seen.width < kMinimumIconSide ||
        seen.height < kMinimumIconSide) {
        return seen;
    }
    seen.stage = isDrawn(window, seen.width, seen.height) ? IconStage::Drawn : IconStage::Mapped;
    return seen;
}

bool TrayWatcher::isDrawn(xcb_window_t window, int width, int height) {
    xcb_connection_t* c = connection_;
    Reply<xcb_get_image_reply_t> image(xcb_get_image_reply(
        c,
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, static_cast<std::uint16_t>(width),
                      static_cast<std::uint16_t>(height), ~0u),
        nullptr));
    if (!image) {
        return false;  // e.g. unmapped again since the attributes were read
    }
    const xcb_format_t* format = formatForDepth(xcb_get_setup(c), image->depth);
    if (format == nullptr) {
        return false;
    }
    const int rowBits = width * format->bits_per_pixel;
    const int pad = format->scanline_pad;
    ZPixmapView view;
    view.data = xcb_get_image_data(image.get());
    view.length = static_cast<std::size_t>(xcb_get_image_data_length(image.get()));
    view.width = width;
    view.height = height;
    view.stride = (rowBits + pad - 1) / pad * pad / 8;
    view.bitsPerPixel = format->bits_per_pixel;
    view.depth = image->depth;
    return ShowsMoreThanOneColour(view);
}

int TrayWatcher::shownTopLevelsOfClient(xcb_window_t window) {
    int shown = 0;
    for (xcb_window_t top : childrenOf(connection_, root_)) {
        if (!SameClient(top, window, resourceMask_)) {
            continue;
        }
        Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, top), nullptr));
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE) {
            ++shown;
        }
    }
    return shown;
}

}  // namespace talvane::bench
