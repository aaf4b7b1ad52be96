// grab-window <title prefix> <output.png> [--close] [--timeout seconds] [--settle seconds]
//
// Waits for a top-level window whose title starts with the prefix to be shown on the X
// display, lets it settle, writes its contents as a PNG and, with --close, asks it to
// close as the window manager's close button would. Fails when no such window
// appears, or when the window shows nothing but one or two colours.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <thread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <wx/image.h>
#include <wx/init.h>

namespace {

bool TitleStartsWith(Display* display, Window window, const std::string& prefix) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) == 0 || name == nullptr)
    return false;
  const bool match = std::strncmp(name, prefix.c_str(), prefix.size()) == 0;
  XFree(name);
  return match;
}

Window FindWindow(Display* display, Window parent, const std::string& prefix) {
  Window root_return = 0, parent_return = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display, parent, &root_return, &parent_return, &children, &count) == 0)
    return 0;
  Window found = 0;
  for (unsigned i = 0; i < count && found == 0; ++i) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
        TitleStartsWith(display, children[i], prefix))
      found = children[i];
    else
      found = FindWindow(display, children[i], prefix);
  }
  if (children != nullptr)
    XFree(children);
  return found;
}

int Shift(unsigned long mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <title prefix> <output.png> [--close] [--timeout s] [--settle s]\n", argv[0]);
    return 2;
  }
  const std::string prefix = argv[1];
  const std::string output = argv[2];
  bool close = false;
  double timeout = 30.0, settle = 3.0;
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--close") == 0)
      close = true;
    else if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc)
      timeout = std::atof(argv[++i]);
    else if (std::strcmp(argv[i], "--settle") == 0 && i + 1 < argc)
      settle = std::atof(argv[++i]);
  }

  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "grab-window: no X display\n");
    return 1;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
  Window window = 0;
  while ((window = FindWindow(display, DefaultRootWindow(display), prefix)) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      std::fprintf(stderr, "grab-window: no window titled \"%s...\" appeared within %.0f s\n", prefix.c_str(),
                   timeout);
      return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  std::this_thread::sleep_for(std::chrono::duration<double>(settle));

  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes) || attributes.width <= 0 || attributes.height <= 0) {
    std::fprintf(stderr, "grab-window: the window went away\n");
    return 1;
  }
  XImage* shot = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                           static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (shot == nullptr) {
    std::fprintf(stderr, "grab-window: could not read the window's pixels\n");
    return 1;
  }
  wxInitializer initializer;
  wxInitAllImageHandlers();
  wxImage image(shot->width, shot->height);
  std::set<unsigned long> colours;
  const int red = Shift(shot->red_mask), green = Shift(shot->green_mask), blue = Shift(shot->blue_mask);
  for (int y = 0; y < shot->height; ++y) {
    for (int x = 0; x < shot->width; ++x) {
      const unsigned long pixel = XGetPixel(shot, x, y);
      if (colours.size() < 64)
        colours.insert(pixel);
      image.SetRGB(x, y, static_cast<unsigned char>((pixel & shot->red_mask) >> red),
                   static_cast<unsigned char>((pixel & shot->green_mask) >> green),
                   static_cast<unsigned char>((pixel & shot->blue_mask) >> blue));
    }
  }
  XDestroyImage(shot);
  if (!image.SaveFile(output, wxBITMAP_TYPE_PNG)) {
    std::fprintf(stderr, "grab-window: could not write %s\n", output.c_str());
    return 1;
  }
  std::printf("%s: %dx%d\n", output.c_str(), image.GetWidth(), image.GetHeight());

  int result = 0;
  if (colours.size() < 3) {
    std::fprintf(stderr, "grab-window: the window shows nothing (%zu colours)\n", colours.size());
    result = 1;
  }
  if (close) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
  }
  XCloseDisplay(display);
  return result;
}
