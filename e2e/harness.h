// End-to-end harness: a private Xvfb server, the real program as a child
// process with its console on pipes, its window found and read through Xlib,
// keys pressed with xdotool.
#ifndef E2E_HARNESS_H
#define E2E_HARNESS_H

// gtest first: Xlib defines macros (None, Bool, Status) that clash with its names.
#include <gtest/gtest.h>
#include <X11/Xlib.h>

#include "proces.h"

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// Where the built programs are.
std::string programPath(const std::string& name);

struct Rgb {
    int r = 0, g = 0, b = 0;
};

struct Image {
    int width = 0, height = 0;
    std::vector<Rgb> px;
    Rgb at(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// Scene units to window pixels for a 500 x 500 window at home position: the view
// spans 50 tan 30 degrees either side of the centre.
constexpr double PIKSELA_PO_JEDINICI = 250.0 / 28.867513459481287;
int pixelX(double sceneX, double panX = 0);
int pixelY(double sceneY, double panY = 0);

// Colour distance, the largest of the channel differences.
int distance(Rgb a, Rgb b);
// Whether a pixel within `radius` of (x, y) lies within `tolerance` of `colour`.
bool colourNear(const Image& img, int x, int y, Rgb colour, int radius = 2, int tolerance = 60);
// Whether every pixel of the rectangle is white within `tolerance`; reports the first that is not.
bool clear(const Image& img, int x0, int y0, int x1, int y1, std::string* where = nullptr,
           int tolerance = 8);

// Writes the image as a binary PPM, to look at when a test fails.
void savePpm(const Image& img, const std::string& path);
// Pixels of two images of one size that differ by more than `tolerance` in some
// channel, and the largest difference found.
struct Difference {
    size_t count = 0;
    int largest = 0;
};
Difference compare(const Image& a, const Image& b, int tolerance);

// Reads a PNG file through libpng, as 8-bit RGB; an empty image, with the
// reason in `error`, when it cannot.
Image readPng(const std::string& path, std::string* error = nullptr);

// A whole file's content; empty when it cannot be read.
std::string readFile(const std::string& path);

constexpr Rgb BELA{255, 255, 255};
constexpr Rgb CRNA{0, 0, 0};
constexpr Rgb MASLINASTA{128, 128, 0};
constexpr Rgb ZELENA{0, 128, 0};

class Program {
public:
    // Starts `path` with argv[0] = `argv0` and the given arguments, in directory `cwd`
    // (empty: the current one), its standard streams on pipes. Each entry of `env`
    // is NAME=value to set, or NAME alone to remove from the environment.
    Program(const std::string& path, const std::string& argv0, std::vector<std::string> args = {},
            const std::string& cwd = {}, const std::vector<std::string>& env = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    void type(const std::string& text);
    void closeInput();
    // What the program left unread on its standard input so far.
    std::string unreadInput();
    // Reads standard output until it holds `count` copies of `text`; false on time-out.
    bool waitForOutput(const std::string& text, int count = 1, double seconds = 10);
    // Reads whatever standard output and error hold now, waiting `seconds` for more.
    void drain(double seconds = 0.2);
    const std::string& output() const { return out_; }
    const std::string& errors() const { return err_; }
    size_t occurrences(const std::string& text) const;

    // The program's top-level window, waited for until it is viewable; 0 on time-out.
    Window window(double seconds = 10);
    std::string title();
    void geometry(int& x, int& y, int& width, int& height);
    // The window's pixels, taken when two reads in a row agree.
    Image screenshot();
    // Screenshots until `ready` holds for one (a program that prints nothing
    // shows its frame only in its pixels); the last one taken on time-out.
    Image screenshotWhen(const std::function<bool(const Image&)>& ready, double seconds = 10);
    void pressKey(const std::string& keysym);
    void resize(int width, int height);
    void closeWindow();  // as a window manager's close button does

    // Exit status, or -1 if the program is still running after `seconds`.
    int waitExit(double seconds = 10);
    bool running();
    pid_t pid() const { return process_.pid(); }

private:
    void readSome(double seconds);
    Proces process_;
    int in_ = -1;
    int inRead_ = -1;  // our copy of the program's end of standard input
    int out_fd_ = -1, err_fd_ = -1;  // process_'s ends of its pipes
    std::string out_, err_;
    Display* dpy_ = nullptr;
    Window win_ = 0;
    bool focused_ = false;
};

}  // namespace e2e

#endif
