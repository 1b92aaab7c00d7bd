// Whole-game runs replayed from tests/golden/*.trace: each line is one scripted action (keys,
// clock, waiting) followed by what the player then sees, hears and finds on disk. A run that
// differs from its trace fails at the first line that moved and leaves the picture it got.
// MUV_GOLDEN_UPDATE=1 rewrites the traces and keeps the picture after every line in
// tests/golden/pictures/<screen>.png: look at the new pictures before committing them. A failed
// run leaves build/golden-failures/<trace>/lineN-expected.png and lineN-got.png.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "game/program.h"
#include "services/platform/keys.h"
#include "services/window/window_loop.h"
#include "tests/support/harness.h"

namespace {

namespace fs = std::filesystem;
using svc::Key;

const fs::path kGoldenDir = fs::path(MUV_SOURCE_DIR) / "tests" / "golden";

// A 64-bit running hash (FNV-1a over words), printed as 8 hex digits.
struct Hash {
    std::uint64_t h = 1469598103934665603ull;
    void add(std::uint64_t v)
    {
        h ^= v;
        h *= 1099511628211ull;
        h ^= h >> 29;
    }
    std::string hex() const
    {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>((h >> 32) ^ h));
        return buf;
    }
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
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f/%.0f", hz, t.duration_ms());
    return buf;
}

std::string escaped(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
    }
    return out;
}

// One line of a trace: the action and the observation recorded after it.
struct Line {
    std::string text; // comment, or the action
    bool comment = false;
    std::string observed;
};

std::string trim(const std::string& s)
{
    const auto a = s.find_first_not_of(' ');
    const auto b = s.find_last_not_of(' ');
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

std::vector<Line> read_trace(const fs::path& path)
{
    std::vector<Line> lines;
    std::ifstream in(path);
    std::string raw;
    while (std::getline(in, raw)) {
        Line l;
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

// Plays the actions of a trace through the real program on the headless platform.
class Replay {
  public:
    Replay(std::vector<Line>& lines, const std::vector<Line>& expected, fs::path failures)
        : lines_(lines), expected_(expected), failures_(std::move(failures))
    {
    }

    // The first line must be "start sound=S saved=L clock=HH:MM:SS [missing=FILE,...]"; a
    // sound of -1 leaves no sound choice file.
    void run()
    {
        int sound = 0, saved = 1, hh = 12, mm = 0, ss = 0;
        std::sscanf(lines_[first()].text.c_str(), "start sound=%d saved=%d clock=%d:%d:%d", &sound,
                    &saved, &hh, &mm, &ss);
        for (const auto& entry : fs::directory_iterator(MUV_DATA_DIR)) {
            fs::copy_file(entry.path(), dir_.path() / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
        }
        const std::string& start = lines_[first()].text;
        if (const auto at = start.find(" missing="); at != std::string::npos) {
            std::istringstream names(start.substr(at + 9));
            for (std::string name; std::getline(names, name, ',');) {
                fs::remove(dir_.path() / name);
            }
        }
        if (sound >= 0) {
            testing_support::write_file(dir_.path() / "sound.cop",
                                        "\" " + std::to_string(sound) + "\"\r\n");
        }
        testing_support::write_file(dir_.path() / "LEVEL.MGS",
                                    "\"" + std::string(1, static_cast<char>(saved + 139)) +
                                        "\"\r\n");
        snapshot_files();
        h_ = std::make_unique<testing_support::Harness>(hh, mm, ss);
        lines_[first()].observed = observe();
        next_ = first() + 1;
        h_->platform.onPass = [this] { pass(); };
        h_->platform.closeAfterMs = 30 * 60 * 1000.0;
        const int code = game::run_program(h_->sv());
        h_->platform.onPass = nullptr;
        if (acting_) {
            lines_[step_].observed = observe() + " exit=" + std::to_string(code);
        }
    }

  private:
    std::size_t first() const
    {
        std::size_t i = 0;
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
            if (!quiet) {
                quietSince_ = now;
                return;
            }
            if (now - quietSince_ < (pendingMoves_.empty() ? kSettleMs : kMoveSettleMs)) {
                return;
            }
            if (!pendingMoves_.empty()) {
                next_move();
                quietSince_ = now;
                return;
            }
            acting_ = false;
            lines_[step_].observed = observe();
            next_ = step_ + 1;
        }
        while (next_ < lines_.size() && lines_[next_].comment) {
            ++next_;
        }
        if (next_ >= lines_.size()) {
            if (!closed_) {
                closed_ = true; // the script is over: the player closes the window
                h_->platform.close_window();
            }
            return;
        }
        step_ = next_;
        act(lines_[step_].text, now);
        acting_ = true;
        quietSince_ = now;
    }

    void act(const std::string& action, double now)
    {
        std::istringstream in(action);
        std::string verb, arg;
        in >> verb;
        std::getline(in, arg);
        arg = trim(arg);
        auto& p = h_->platform;
        if (verb == "key") {
            press_named(arg);
        } else if (verb == "type") {
            p.type_text(arg);
        } else if (verb == "moves") {
            // H forward, P back, K left, M right: the arrows, one per settled step; in small
            // letters the same move typed as its capital letter.
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

    void next_move()
    {
        const char k = pendingMoves_.front();
        pendingMoves_.erase(0, 1);
        if (std::islower(static_cast<unsigned char>(k))) {
            h_->platform.type_text(std::string(1, static_cast<char>(std::toupper(k))));
            return;
        }
        h_->platform.press_key(k == 'H'   ? Key::Up
                               : k == 'P' ? Key::Down
                               : k == 'K' ? Key::Left
                                          : Key::Right);
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
        const bool shift = has("shift+"), ctrl = has("ctrl+"), alt = has("alt+");
        const auto it = kKeys.find(base);
        if (it == kKeys.end()) {
            ADD_FAILURE() << "unknown key: " << name;
            return;
        }
        h_->platform.press_key(it->second, shift, ctrl, alt);
    }

    std::string observe()
    {
        auto& p = h_->platform;
        std::ostringstream out;
        char t[32];
        std::snprintf(t, sizeof t, "t=%.2f", p.ticks_ms());
        out << t << " mode=" << h_->screen().mode()
            << " screen=" << Hash{screen_hash(h_->screen())}.hex() << " changes=" << changeCount_
            << "#" << changes_.hex();
        // The picture in the window: the screen image as shown, and the error dialog over it.
        Hash f;
        f.add(static_cast<std::uint64_t>(p.frame_width()) << 16 | p.frame_height());
        for (const std::uint32_t px : p.frame()) {
            f.add(px);
        }
        out << " frame=" << f.hex();
        svc::WindowLoop::Buttons buttons{};
        const fs::path shot = kGoldenDir / "pictures" / (f.hex() + ".png");
        if (h_->sv().window().dialog_buttons(buttons) &&
            std::getenv("MUV_GOLDEN_UPDATE") != nullptr && !fs::exists(shot)) {
            p.save_png(shot.string());
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
            out << " tones=" << tones.size() - tonesSeen_ << "#" << th.hex() << "[" << list << "]";
            tonesSeen_ = tones.size();
        }
        const auto& files = p.audio.files;
        for (std::size_t i = filesSeen_; i < files.size(); ++i) {
            char at[32];
            std::snprintf(at, sizeof at, "@%.2f", files[i].startMs);
            out << " play=" << fs::path(files[i].path).filename().string()
                << (files[i].sample ? "/sample" : "/stream") << (files[i].started ? "" : "/failed")
                << at;
        }
        filesSeen_ = files.size();
        out << diff_files();
        changes_ = Hash{};
        changeCount_ = 0;
        const std::string screen = Hash{screen_hash(h_->screen())}.hex();
        const fs::path picture = kGoldenDir / "pictures" / (screen + ".png");
        if (std::getenv("MUV_GOLDEN_UPDATE") != nullptr && !fs::exists(picture)) {
            fs::create_directories(picture.parent_path());
            testing_support::save_screen_png(h_->screen(), picture.string());
        }
        if (out.str() != expected_[step_].observed && !failureSaved_) {
            // The first line that moved: keep what the player should have seen and what he saw.
            failureSaved_ = true;
            fs::create_directories(failures_);
            const std::string line = "line" + std::to_string(step_ + 1);
            testing_support::save_screen_png(h_->screen(),
                                             (failures_ / (line + "-got.png")).string());
            const std::string& wanted = expected_[step_].observed;
            const auto at = wanted.find("screen=");
            const fs::path expected =
                at == std::string::npos
                    ? fs::path()
                    : kGoldenDir / "pictures" / (wanted.substr(at + 7, 8) + ".png");
            if (!expected.empty() && fs::exists(expected)) {
                fs::copy_file(expected, failures_ / (line + "-expected.png"),
                              fs::copy_options::overwrite_existing);
            }
        }
        return out.str();
    }

    void snapshot_files()
    {
        files_.clear();
        for (const auto& e : fs::directory_iterator(dir_.path())) {
            if (e.is_regular_file()) {
                // The time too: a save of the same bytes is still a save.
                files_[e.path().filename().string()] = {testing_support::read_file(e.path()),
                                                        e.last_write_time()};
            }
        }
    }

    std::string diff_files()
    {
        const auto before = files_;
        snapshot_files();
        std::string out;
        for (const auto& [name, file] : files_) {
            const auto it = before.find(name);
            if (it == before.end() || it->second != file) {
                out += " wrote=" + name + ":" + escaped(file.first.substr(0, 40));
            }
        }
        for (const auto& [name, bytes] : before) {
            if (files_.count(name) == 0) {
                out += " removed=" + name;
            }
        }
        return out;
    }

    // How long the game must stay quiet before the next action: after a screen's key, and
    // between the moves of one line (a frame is drawn at once; sounds are waited for).
    static constexpr double kSettleMs = 200;
    static constexpr double kMoveSettleMs = 40;

    std::vector<Line>& lines_;
    const std::vector<Line>& expected_;
    fs::path failures_;
    bool failureSaved_ = false;
    testing_support::TempDir dir_;
    std::unique_ptr<testing_support::Harness> h_;
    std::map<std::string, std::pair<std::string, fs::file_time_type>> files_;
    std::size_t next_ = 0, step_ = 0;
    bool acting_ = false;
    bool closed_ = false;
    double quietSince_ = 0, waitUntil_ = 0;
    std::string pendingMoves_;
    std::uint64_t lastScreen_ = 0;
    Hash changes_;
    int changeCount_ = 0;
    std::size_t tonesSeen_ = 0, filesSeen_ = 0;
};

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, RunMatchesItsTrace)
{
    const fs::path path = kGoldenDir / (GetParam() + ".trace");
    std::vector<Line> lines = read_trace(path);
    const std::vector<Line> expected = lines;
    Replay replay(lines, expected,
                  fs::path(MUV_DATA_DIR).parent_path() / "golden-failures" / GetParam());
    replay.run();
    if (std::getenv("MUV_GOLDEN_UPDATE") != nullptr) {
        std::ofstream out(path);
        for (const Line& l : lines) {
            out << l.text;
            if (!l.comment) {
                out << std::string(l.text.size() < 16 ? 16 - l.text.size() : 1, ' ') << "| "
                    << l.observed;
            }
            out << "\n";
        }
        return;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].comment) {
            continue;
        }
        ASSERT_EQ(lines[i].observed, expected[i].observed)
            << GetParam() << ".trace line " << i + 1 << ": " << lines[i].text;
    }
}

std::vector<std::string> traces()
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(kGoldenDir)) {
        if (e.path().extension() == ".trace") {
            names.push_back(e.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// After an update, pictures that no trace names any more are dropped.
class DropUnusedPictures : public ::testing::Environment {
    void TearDown() override
    {
        if (std::getenv("MUV_GOLDEN_UPDATE") == nullptr || !fs::exists(kGoldenDir / "pictures")) {
            return;
        }
        std::string all;
        for (const std::string& name : traces()) {
            all += testing_support::read_file(kGoldenDir / (name + ".trace"));
        }
        for (const auto& e : fs::directory_iterator(kGoldenDir / "pictures")) {
            if (all.find(e.path().stem().string()) == std::string::npos) {
                fs::remove(e.path());
            }
        }
    }
};
const auto* const kDropUnused = ::testing::AddGlobalTestEnvironment(new DropUnusedPictures);

INSTANTIATE_TEST_SUITE_P(Runs, Golden, ::testing::ValuesIn(traces()),
                         [](const auto& info) { return info.param; });

} // namespace
