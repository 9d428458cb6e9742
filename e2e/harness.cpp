#include "harness.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <png.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace e2e {
namespace {

void pause(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// Runs a helper command to its end (bounded), returns its exit status.
int run(const std::vector<std::string>& args, double seconds = 10)
{
    Naredba command;
    command.program = args.at(0);
    command.argumenti = args;
    command.tokovi = {{STDIN_FILENO, Tok::NISTA}, {STDOUT_FILENO, Tok::NISTA}};
    Proces helper;  // killed and reaped on the way out if still running
    std::string error;
    if (!helper.pokreni(command, error) && !helper.zavrsen())
        return -1;
    return helper.cekaj(seconds) && helper.izasao() ? helper.status() : -1;
}

int ignoreXErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

// ---- the X server ----

// The test programs run under privatni-x (xvfb/), which gives each its own.
class XServer : public testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_NE(nullptr, std::getenv("DISPLAY")) << "no X server: run the test under build/xvfb/privatni-x";
        XSetErrorHandler(ignoreXErrors);
    }
};

static testing::Environment* const xserver = testing::AddGlobalTestEnvironment(new XServer);

std::string programPath(const std::string& name)
{
    return std::string(GEOMETRIJA_BIN_DIR) + "/" + name;
}

// ---- pixels ----

int pixelX(double sceneX, double panX)
{
    return static_cast<int>(std::lround(250.0 + (sceneX + panX) * PIKSELA_PO_JEDINICI - 0.5));
}

int pixelY(double sceneY, double panY)
{
    return static_cast<int>(std::lround(250.0 - (sceneY + panY) * PIKSELA_PO_JEDINICI - 0.5));
}

int distance(Rgb a, Rgb b)
{
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

bool colourNear(const Image& img, int x, int y, Rgb colour, int radius, int tolerance)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (img.inside(x + dx, y + dy) && distance(img.at(x + dx, y + dy), colour) <= tolerance)
                return true;
    return false;
}

bool clear(const Image& img, int x0, int y0, int x1, int y1, std::string* where, int tolerance)
{
    for (int y = std::max(0, y0); y <= std::min(img.height - 1, y1); ++y)
        for (int x = std::max(0, x0); x <= std::min(img.width - 1, x1); ++x)
            if (distance(img.at(x, y), BELA) > tolerance) {
                if (where) {
                    const Rgb c = img.at(x, y);
                    *where = "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is (" +
                             std::to_string(c.r) + ", " + std::to_string(c.g) + ", " +
                             std::to_string(c.b) + ")";
                }
                return false;
            }
    return true;
}

void savePpm(const Image& img, const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    std::fprintf(f, "P6\n%d %d\n255\n", img.width, img.height);
    for (const Rgb& c : img.px) {
        const unsigned char rgb[3] = {static_cast<unsigned char>(c.r), static_cast<unsigned char>(c.g),
                                      static_cast<unsigned char>(c.b)};
        std::fwrite(rgb, 1, 3, f);
    }
    std::fclose(f);
}

Difference compare(const Image& a, const Image& b, int tolerance)
{
    Difference d;
    for (size_t i = 0; i < a.px.size() && i < b.px.size(); ++i) {
        const int di = distance(a.px[i], b.px[i]);
        d.largest = std::max(d.largest, di);
        d.count += di > tolerance;
    }
    return d;
}

Image readPng(const std::string& path, std::string* error)
{
    Image img;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    std::vector<unsigned char> rgb;
    if (png_image_begin_read_from_file(&png, path.c_str())) {
        png.format = PNG_FORMAT_RGB;
        rgb.resize(PNG_IMAGE_SIZE(png));
        if (png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) {
            img.width = static_cast<int>(png.width);
            img.height = static_cast<int>(png.height);
            for (size_t i = 0; i + 2 < rgb.size(); i += 3)
                img.px.push_back(Rgb{rgb[i], rgb[i + 1], rgb[i + 2]});
        }
    }
    if (img.px.empty() && error)
        *error = path + ": " + png.message;
    png_image_free(&png);
    return img;
}

// ---- files ----

std::string readFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// ---- the program ----

Program::Program(const std::string& path, const std::string& argv0, std::vector<std::string> args,
                 const std::string& cwd, const std::vector<std::string>& env)
{
    // Standard input is a pipe of the harness's own, so that it keeps a copy
    // of the program's end to see what was left unread.
    int in[2];
    if (pipe2(in, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe");
    inRead_ = in[0];  // kept blocking: the program shares this open file
    in_ = in[1];
    Naredba command;
    command.program = path;
    command.argumenti = {argv0};
    command.argumenti.insert(command.argumenti.end(), args.begin(), args.end());
    command.fascikla = cwd;
    command.okruzenje = env;
    command.prosledjeni = {{STDIN_FILENO, inRead_}};
    command.tokovi = {{STDOUT_FILENO, Tok::OD_DETETA}, {STDERR_FILENO, Tok::OD_DETETA}};
    // A program that cannot be run has ended with status 127, as from a shell.
    std::string error;
    if (!process_.pokreni(command, error) && !process_.zavrsen())
        throw std::runtime_error(error);
    out_fd_ = process_.cev(STDOUT_FILENO);
    err_fd_ = process_.cev(STDERR_FILENO);
    fcntl(out_fd_, F_SETFL, O_NONBLOCK);
    fcntl(err_fd_, F_SETFL, O_NONBLOCK);
    signal(SIGPIPE, SIG_IGN);
}

Program::~Program()
{
    process_.ubij();
    for (int fd : {in_, inRead_})
        if (fd >= 0)
            close(fd);
    if (dpy_)
        XCloseDisplay(dpy_);
}

void Program::type(const std::string& text)
{
    if (in_ >= 0 && write(in_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        ADD_FAILURE() << "could not type '" << text << "'";
}

void Program::closeInput()
{
    if (in_ >= 0)
        close(in_);
    in_ = -1;
}

std::string Program::unreadInput()
{
    std::string rest;
    char buf[256];
    pollfd pfd{inRead_, POLLIN, 0};
    while (poll(&pfd, 1, 0) > 0 && (pfd.revents & POLLIN)) {
        const ssize_t n = read(inRead_, buf, sizeof buf);
        if (n <= 0)
            break;
        rest.append(buf, static_cast<size_t>(n));
    }
    return rest;
}

void Program::readSome(double seconds)
{
    pollfd fds[2] = {{out_fd_, POLLIN, 0}, {err_fd_, POLLIN, 0}};
    if (poll(fds, 2, static_cast<int>(seconds * 1000)) <= 0)
        return;
    char buf[4096];
    ssize_t n;
    while (out_fd_ >= 0 && (n = read(out_fd_, buf, sizeof buf)) > 0)
        out_.append(buf, static_cast<size_t>(n));
    while (err_fd_ >= 0 && (n = read(err_fd_, buf, sizeof buf)) > 0)
        err_.append(buf, static_cast<size_t>(n));
    if ((fds[0].revents | fds[1].revents) & POLLHUP)
        pause(0.005);  // the program is gone: do not spin
}

size_t Program::occurrences(const std::string& text) const
{
    size_t n = 0;
    for (size_t at = out_.find(text); at != std::string::npos; at = out_.find(text, at + text.size()))
        ++n;
    return n;
}

bool Program::waitForOutput(const std::string& text, int count, double seconds)
{
    const auto start = Sat::now();
    while (occurrences(text) < static_cast<size_t>(count)) {
        if (sekundiOd(start) > seconds)
            return false;
        readSome(0.05);
    }
    return true;
}

void Program::drain(double seconds)
{
    const auto start = Sat::now();
    do
        readSome(0.02);
    while (sekundiOd(start) < seconds);
}

Window Program::window(double seconds)
{
    if (win_)
        return win_;
    if (!dpy_)
        dpy_ = XOpenDisplay(nullptr);
    if (!dpy_)
        return 0;
    const Atom pidAtom = XInternAtom(dpy_, "_NET_WM_PID", False);
    const auto start = Sat::now();
    while (sekundiOd(start) < seconds) {
        Window root, parent, *children = nullptr;
        unsigned int n = 0;
        if (XQueryTree(dpy_, DefaultRootWindow(dpy_), &root, &parent, &children, &n)) {
            for (unsigned int i = 0; i < n && !win_; ++i) {
                XWindowAttributes attr;
                if (!XGetWindowAttributes(dpy_, children[i], &attr) || attr.map_state != IsViewable)
                    continue;
                // The window that carries our child's process id, or, where the
                // toolkit sets none, the one named window on this private server.
                Atom type;
                int format;
                unsigned long items, after;
                unsigned char* data = nullptr;
                if (XGetWindowProperty(dpy_, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type,
                                       &format, &items, &after, &data) == Success &&
                    data && items == 1) {
                    if (static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid())
                        win_ = children[i];
                } else {
                    char* name = nullptr;
                    if (XFetchName(dpy_, children[i], &name) && name) {
                        win_ = children[i];
                        XFree(name);
                    }
                }
                if (data)
                    XFree(data);
            }
            if (children)
                XFree(children);
        }
        if (win_)
            return win_;
        if (!running())
            return 0;
        pause(0.02);
    }
    return 0;
}

std::string Program::title()
{
    char* name = nullptr;
    std::string result;
    if (window() && XFetchName(dpy_, win_, &name) && name) {
        result = name;
        XFree(name);
    }
    return result;
}

void Program::geometry(int& x, int& y, int& width, int& height)
{
    x = y = width = height = -1;
    if (!window())
        return;
    XWindowAttributes attr;
    XGetWindowAttributes(dpy_, win_, &attr);
    Window child;
    XTranslateCoordinates(dpy_, win_, DefaultRootWindow(dpy_), 0, 0, &x, &y, &child);
    width = attr.width;
    height = attr.height;
}

Image Program::screenshot()
{
    Image img;
    if (!window())
        return img;
    auto grab = [&]() {
        Image shot;
        XWindowAttributes attr;
        XGetWindowAttributes(dpy_, win_, &attr);
        XImage* xi = XGetImage(dpy_, win_, 0, 0, static_cast<unsigned>(attr.width),
                               static_cast<unsigned>(attr.height), AllPlanes, ZPixmap);
        if (!xi)
            return shot;
        shot.width = attr.width;
        shot.height = attr.height;
        shot.px.resize(static_cast<size_t>(shot.width) * shot.height);
        for (int y = 0; y < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x) {
                const unsigned long v = XGetPixel(xi, x, y);
                shot.px[static_cast<size_t>(y) * shot.width + x] =
                    Rgb{static_cast<int>((v & xi->red_mask) >> 16),
                        static_cast<int>((v & xi->green_mask) >> 8), static_cast<int>(v & xi->blue_mask)};
            }
        XDestroyImage(xi);
        return shot;
    };
    // A frame may still be on its way to the server: wait until two reads agree.
    img = grab();
    for (int i = 0; i < 50; ++i) {
        pause(0.05);
        Image next = grab();
        bool same = next.width == img.width && next.height == img.height;
        for (size_t k = 0; same && k < img.px.size(); ++k)
            same = distance(img.px[k], next.px[k]) == 0;
        img = std::move(next);
        if (same)
            break;
    }
    return img;
}

Image Program::screenshotWhen(const std::function<bool(const Image&)>& ready, double seconds)
{
    const auto start = Sat::now();
    Image img = screenshot();
    while (!ready(img) && sekundiOd(start) < seconds) {
        pause(0.05);
        img = screenshot();
    }
    return img;
}

void Program::pressKey(const std::string& keysym)
{
    if (!window())
        return;
    if (!focused_) {
        // No window manager gives the focus: put the pointer over the window
        // and focus it once, then type through the XTEST extension.
        run({"xdotool", "mousemove", "250", "250"});
        run({"xdotool", "windowfocus", std::to_string(win_)});
        focused_ = true;
    }
    EXPECT_EQ(0, run({"xdotool", "key", "--clearmodifiers", keysym})) << "xdotool key " << keysym;
}

void Program::resize(int width, int height)
{
    if (!window())
        return;
    XResizeWindow(dpy_, win_, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(dpy_, False);
}

void Program::closeWindow()
{
    if (!window())
        return;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = win_;
    ev.xclient.message_type = XInternAtom(dpy_, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy_, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy_, win_, False, NoEventMask, &ev);
    XSync(dpy_, False);
}

bool Program::running()
{
    return process_.radi();
}

int Program::waitExit(double seconds)
{
    const auto start = Sat::now();
    while (running()) {
        if (sekundiOd(start) > seconds)
            return -1;
        readSome(0.02);
    }
    drain(0.05);
    return process_.zavrsen() ? process_.kaoLjuska() : -1;
}

}  // namespace e2e
