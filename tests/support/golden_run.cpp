// Whole-game runs played from traces (golden_run.h): the player of the actions and the digest
// of what the player sees, hears and finds on disk after each.
#include "tests/support/golden_run.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <span>
#include <sstream>

#include "game/program.h"
#include "services/platform/keys.h"
#include "services/window/window_loop.h"
#include "tests/support/harness.h"
#include "tools/screen_png.h"

namespace testing_support {
namespace {

namespace fs = std::filesystem;
using svc::Key;

const fs::path kGoldenDir = fs::path(MUV_SOURCE_DIR) / "tests" / "golden";

// Set: the runs rewrite their traces and keep the pictures they name.
const bool kUpdating = std::getenv("MUV_GOLDEN_UPDATE") != nullptr;

// One value printed with a printf format.
template <class T> std::string printed(const char* format, T value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

// A 64-bit running hash (FNV-1a over words), printed as 8 hex digits.
struct Hash {
    std::uint64_t h = 1469598103934665603ull;
    void add(std::uint64_t v)
    {
        h ^= v;
        h *= 1099511628211ull;
        h ^= h >> 29;
    }
    std::string hex() const { return printed("%08x", static_cast<unsigned>((h >> 32) ^ h)); }
};

std::uint64_t screen_hash(const svc::ScreenImage& img)
{
    Hash h;
    h.add(static_cast<std::uint64_t>(img.mode()));
    for (int i = 0; i < 16; ++i) {
        h.add(img.palette_entry(i));
    }
    if (img.text_mode()) {
        for (int r = 0; r < svc::ScreenImage::kTextRows; ++r) {
            for (int c = 0; c < svc::ScreenImage::kTextCols; ++c) {
                h.add(img.cell(r, c));
            }
        }
    } else {
        for (int y = 0; y < img.height(); ++y) {
            for (int w = 0; w < svc::ScreenImage::kMaxWidth / 8; ++w) {
                h.add(img.row_word(y, w));
            }
        }
    }
    return h.h;
}

// Pitch (from the sign changes of the sounding part) and length of one tone buffer.
std::string describe_tone(const svc::HeadlessAudio::Tone& t)
{
    int crossings = 0;
    int sounding = 0;
    int lastSign = 0;
    for (std::size_t i = 0; i < t.frames.size(); i += 2) {
        const int v = t.frames[i];
        if (v == 0) {
            continue;
        }
        ++sounding;
        const int sign = v > 0 ? 1 : -1;
        crossings += lastSign != 0 && sign != lastSign ? 1 : 0;
        lastSign = sign;
    }
    const double hz = sounding > 0 ? crossings / 2.0 / (sounding / 22050.0) : 0;
    return printed("%.0f/", hz) + printed("%.0f", t.duration_ms());
}

std::string escaped(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        out += c >= 0x20 && c < 0x7F && c != '\\' ? std::string(1, static_cast<char>(c))
                                                  : printed("\\x%02X", c);
    }
    return out;
}

std::string trim(const std::string& s)
{
    const auto a = s.find_first_not_of(' ');
    const auto b = s.find_last_not_of(' ');
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// A picture a trace names by its hash.
fs::path picture_path(const std::string& hash)
{
    return kGoldenDir / "pictures" / (hash + ".png");
}

// While updating, a picture not kept yet is written by `save` under its hash.
template <class Save> void keep_new_picture(const std::string& hash, Save&& save)
{
    const fs::path picture = picture_path(hash);
    if (kUpdating && !fs::exists(picture)) {
        fs::create_directories(picture.parent_path());
        save(picture.string());
    }
}

// The files of the game's folder: bytes and time (a save of the same bytes is still a save).
using FolderFiles = std::map<std::string, std::pair<std::string, fs::file_time_type>>;

FolderFiles folder_files(const fs::path& dir)
{
    FolderFiles files;
    for (const auto& e : fs::directory_iterator(dir)) {
        if (e.is_regular_file()) {
            files[e.path().filename().string()] = {read_file(e.path()), e.last_write_time()};
        }
    }
    return files;
}

// Plays the actions of a trace through the real program on the headless platform.
class Replay {
  public:
    Replay(const std::vector<TraceLine>& expected, fs::path failures)
        : lines_(expected), expected_(expected), failures_(std::move(failures))
    {
    }

    std::vector<TraceLine> run()
    {
        const std::size_t start = action_from(0);
        int sound = 0, saved = 1, hh = 12, mm = 0, ss = 0;
        std::sscanf(lines_[start].text.c_str(), "start sound=%d saved=%d clock=%d:%d:%d", &sound,
                    &saved, &hh, &mm, &ss);
        // The game's folder as the start line gives it, less the files named missing.
        lay_out_game_folder(dir_.path(), sound, saved);
        if (const auto at = lines_[start].text.find(" missing="); at != std::string::npos) {
            std::istringstream names(lines_[start].text.substr(at + 9));
            for (std::string name; std::getline(names, name, ',');) {
                fs::remove(dir_.path() / name);
            }
        }
        files_ = folder_files(dir_.path());
        h_ = std::make_unique<Harness>(hh, mm, ss);
        step_ = start;
        lines_[start].observed = observe();
        h_->platform.onPass = [this] { pass(); };
        h_->platform.closeAfterMs = 30 * 60 * 1000.0;
        const int code = game::run_program(h_->sv());
        h_->platform.onPass = nullptr;
        if (acting_) {
            lines_[step_].observed = observe() + " exit=" + std::to_string(code);
        }
        return lines_;
    }

  private:
    // The first action at or after line i (the number of lines if none is left).
    std::size_t action_from(std::size_t i) const
    {
        while (i < lines_.size() && lines_[i].comment) {
            ++i;
        }
        return i;
    }

    // Called on every window pass: fold the picture into the digest, then act or settle.
    void pass()
    {
        const std::uint64_t s = screen_hash(h_->screen());
        if (s != lastScreen_) {
            lastScreen_ = s;
            changes_.add(s);
            ++changeCount_;
        }
        const double now = h_->platform.ticks_ms();
        if (acting_) {
            const bool quiet = h_->sv().keys().empty() && !h_->platform.events_pending() &&
                               !h_->platform.audio.tone_playing(now) && now >= waitUntil_;
            if (!quiet || now - quietSince_ < (pendingMoves_.empty() ? kSettleMs : kMoveSettleMs)) {
                quietSince_ = quiet ? quietSince_ : now;
                return;
            }
            if (!pendingMoves_.empty()) { // the next move once the game is quiet after the last
                next_move();
                quietSince_ = now;
                return;
            }
            acting_ = false;
            lines_[step_].observed = observe();
        }
        const std::size_t next = action_from(step_ + 1);
        if (next >= lines_.size()) {
            if (!closed_) {
                closed_ = true; // the script is over: the player closes the window
                h_->platform.close_window();
            }
            return;
        }
        step_ = next;
        act(lines_[step_].text, now);
        acting_ = true;
        quietSince_ = now;
    }

    void act(const std::string& action, double now)
    {
        std::istringstream in(action);
        std::string verb, arg;
        std::getline(in >> verb >> std::ws, arg); // the line itself is trimmed
        auto& p = h_->platform;
        if (verb == "key") {
            press_named(arg);
        } else if (verb == "type") {
            p.type_text(arg);
        } else if (verb == "moves") { // one per settled step
            pendingMoves_ = arg;
        } else if (verb == "clock") {
            int hh = 0, mm = 0, ss = 0, ms = 0;
            std::sscanf(arg.c_str(), "%d:%d:%d.%d", &hh, &mm, &ss, &ms);
            p.set_time_of_day(hh, mm, ss, ms);
        } else if (verb == "wait") {
            waitUntil_ = now + std::atof(arg.c_str());
        } else if (verb == "close") {
            p.close_window();
        } else {
            ADD_FAILURE() << "unknown action: " << action;
        }
        if (!pendingMoves_.empty()) {
            next_move();
        }
    }

    // H forward, P back, K left, M right: the arrows; in small letters the same move typed as
    // its capital letter.
    void next_move()
    {
        static const std::map<char, Key> kArrows = {
            {'H', Key::Up}, {'P', Key::Down}, {'K', Key::Left}, {'M', Key::Right}};
        const char k = pendingMoves_.front();
        pendingMoves_.erase(0, 1);
        if (std::islower(static_cast<unsigned char>(k))) {
            h_->platform.type_text(std::string(1, static_cast<char>(std::toupper(k))));
        } else {
            h_->platform.press_key(kArrows.at(k));
        }
    }

    void press_named(const std::string& name)
    {
        static const std::map<std::string, Key> kKeys = {
            {"Enter", Key::Enter}, {"Space", Key::Space}, {"Escape", Key::Escape},
            {"Up", Key::Up},       {"Down", Key::Down},   {"Left", Key::Left},
            {"Right", Key::Right}, {"Pause", Key::Pause}, {"Break", Key::Break},
            {"S", Key::S},         {"X", Key::X},         {"N", Key::N},
            {"L", Key::L},         {"Y", Key::Y},         {"H", Key::H},
            {"R", Key::R}};
        // "ctrl+alt+S": modifiers first, the key's name last.
        const std::string base = name.substr(name.rfind('+') + 1);
        const auto has = [&](const char* m) { return name.find(m) != std::string::npos; };
        const auto it = kKeys.find(base);
        if (it == kKeys.end()) {
            ADD_FAILURE() << "unknown key: " << name;
            return;
        }
        h_->platform.press_key(it->second, has("shift+"), has("ctrl+"), has("alt+"));
    }

    // What the player sees, hears and finds on disk since the last line: the clock, the screen
    // and its changes, the picture in the window (the screen as shown and the error dialog over
    // it), the tones and music files started, and the files written and removed.
    std::string observe()
    {
        auto& p = h_->platform;
        const std::string screen = Hash{screen_hash(h_->screen())}.hex();
        Hash frame;
        frame.add(static_cast<std::uint64_t>(p.frame_width()) << 16 | p.frame_height());
        for (const std::uint32_t px : p.frame()) {
            frame.add(px);
        }
        std::string out = printed("t=%.2f", p.ticks_ms()) +
                          " mode=" + std::to_string(h_->screen().mode()) + " screen=" + screen +
                          " changes=" + std::to_string(changeCount_) + "#" + changes_.hex() +
                          " frame=" + frame.hex();
        if (svc::WindowLoop::Buttons buttons{}; h_->sv().window().dialog_buttons(buttons)) {
            keep_new_picture(frame.hex(), [&](const std::string& path) { p.save_png(path); });
        }
        const auto& tones = p.audio.tones;
        if (tones.size() > tonesSeen_) {
            Hash th;
            std::string list;
            for (std::size_t i = tonesSeen_; i < tones.size(); ++i) {
                for (std::int16_t v : tones[i].frames) {
                    th.add(static_cast<std::uint16_t>(v));
                }
                list += (list.empty() ? "" : " ") + describe_tone(tones[i]);
            }
            out += " tones=" + std::to_string(tones.size() - tonesSeen_) + "#" + th.hex() + "[" +
                   list + "]";
            tonesSeen_ = tones.size();
        }
        for (const auto& f : std::span(p.audio.files).subspan(filesSeen_)) {
            out += " play=" + fs::path(f.path).filename().string() +
                   (f.sample ? "/sample" : "/stream") + (f.started ? "" : "/failed") +
                   printed("@%.2f", f.startMs);
        }
        filesSeen_ = p.audio.files.size();
        out += files_changed();
        changes_ = Hash{};
        changeCount_ = 0;
        keep_new_picture(
            screen, [&](const std::string& path) { tools::write_screen_png(h_->screen(), path); });
        if (out != expected_[step_].observed && !failureSaved_) {
            keep_failure();
        }
        return out;
    }

    // The files written and removed since the last line.
    std::string files_changed()
    {
        const FolderFiles before = std::move(files_);
        files_ = folder_files(dir_.path());
        std::string out;
        for (const auto& [name, file] : files_) {
            const auto it = before.find(name);
            if (it == before.end() || it->second != file) {
                out += " wrote=" + name + ":" + escaped(file.first.substr(0, 40));
            }
        }
        for (const auto& [name, file] : before) {
            if (files_.count(name) == 0) {
                out += " removed=" + name;
            }
        }
        return out;
    }

    // The first line that moved: keep what the player should have seen and what he saw.
    void keep_failure()
    {
        failureSaved_ = true;
        fs::create_directories(failures_);
        const std::string line = "line" + std::to_string(step_ + 1);
        tools::write_screen_png(h_->screen(), (failures_ / (line + "-got.png")).string());
        const std::string& wanted = expected_[step_].observed;
        const auto at = wanted.find("screen=");
        const fs::path expected =
            at == std::string::npos ? fs::path() : picture_path(wanted.substr(at + 7, 8));
        if (!expected.empty() && fs::exists(expected)) {
            fs::copy_file(expected, failures_ / (line + "-expected.png"),
                          fs::copy_options::overwrite_existing);
        }
    }

    // How long the game must stay quiet before the next action: after a screen's key, and
    // between the moves of one line (a frame is drawn at once; sounds are waited for).
    static constexpr double kSettleMs = 200;
    static constexpr double kMoveSettleMs = 40;

    std::vector<TraceLine> lines_;
    const std::vector<TraceLine>& expected_;
    fs::path failures_;
    bool failureSaved_ = false;
    TempDir dir_;
    std::unique_ptr<Harness> h_;
    FolderFiles files_;
    std::size_t step_ = 0;
    bool acting_ = false;
    bool closed_ = false;
    double quietSince_ = 0, waitUntil_ = 0;
    std::string pendingMoves_;
    std::uint64_t lastScreen_ = 0;
    Hash changes_;
    int changeCount_ = 0;
    std::size_t tonesSeen_ = 0, filesSeen_ = 0;
};

std::vector<TraceLine> read_trace(const fs::path& path)
{
    std::vector<TraceLine> lines;
    std::ifstream in(path);
    std::string raw;
    while (std::getline(in, raw)) {
        TraceLine l;
        if (raw.empty() || raw[0] == '#') {
            l.text = raw;
            l.comment = true;
        } else {
            const auto bar = raw.find(" | ");
            l.text = trim(raw.substr(0, bar));
            l.observed = bar == std::string::npos ? "" : trim(raw.substr(bar + 3));
        }
        lines.push_back(l);
    }
    return lines;
}

void write_trace(const fs::path& path, const std::vector<TraceLine>& lines)
{
    std::ofstream out(path);
    for (const TraceLine& l : lines) {
        out << l.text;
        if (!l.comment) {
            out << std::string(l.text.size() < 16 ? 16 - l.text.size() : 1, ' ') << "| "
                << l.observed;
        }
        out << "\n";
    }
}

} // namespace

std::vector<std::string> trace_names()
{
    std::vector<std::string> names;
    for (const fs::path& trace : files_ending(kGoldenDir, ".trace")) {
        names.push_back(trace.stem().string());
    }
    return names;
}

TraceRun run_trace(const std::string& name)
{
    const fs::path path = kGoldenDir / (name + ".trace");
    TraceRun run;
    run.expected = read_trace(path);
    run.got =
        Replay(run.expected, fs::path(MUV_DATA_DIR).parent_path() / "golden-failures" / name).run();
    if (kUpdating) {
        write_trace(path, run.got);
        run.expected = run.got;
    }
    return run;
}

void drop_unused_pictures()
{
    if (!kUpdating || !fs::exists(kGoldenDir / "pictures")) {
        return;
    }
    std::string all;
    for (const std::string& name : trace_names()) {
        all += read_file(kGoldenDir / (name + ".trace"));
    }
    for (const auto& e : fs::directory_iterator(kGoldenDir / "pictures")) {
        if (all.find(e.path().stem().string()) == std::string::npos) {
            fs::remove(e.path());
        }
    }
}

} // namespace testing_support
