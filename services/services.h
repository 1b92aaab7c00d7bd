// The services layer the game stands on: screen, drawing, blocks, text, sound, keys,
// clock, random numbers and files, as one object the main flow owns.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "services/common/errors.h"
#include "services/common/stop_request.h"
#include "services/input/keyboard.h"
#include "services/platform/platform.h"
#include "services/video/screen_image.h"

namespace svc {

class FileTable;
class SoundSystem;
class WindowLoop;

// The caller's place in the game's code; its line is the step number the error dialog shows.
// Like std::source_location::current(), current() as a default argument takes the line of the
// call; our own type, because clang 14 cannot build std::source_location of GCC 12's library.
class Here {
  public:
    static constexpr Here current(int line = __builtin_LINE()) { return Here(line); }
    constexpr int line() const { return line_; }

  private:
    constexpr explicit Here(int line) : line_(line) {}
    int line_;
};

// Image buffers of the game: arrays of 16-bit words that hold image blocks.
using Words = std::span<std::int16_t>;

// How put_block lays block pixel c over screen pixel d, by the action numbers the game
// passes. A plain enumeration, like the colours: the game hands over plain numbers.
enum PutAction : int {
    kPutXor = 0, // d XOR c; action 5 does the same
    kPutCopy = 1,
    kPutInverse = 2, // 15 AND NOT c
    kPutAnd = 3,
    kPutOr = 4,
    kLastPutAction = 5,
};

// A drawing the game repeats on every idle pass, mostly with the same inputs (the status
// panel's boxes, the seagulls): the inputs it last ran with to its end, how many stores had
// changed the picture by then and the pen it left. The caller keeps one per drawing.
struct RepeatMark {
    std::vector<std::byte> inputs;
    static constexpr std::uint64_t kNotDrawn = ~std::uint64_t{0}; // no count reaches it
    std::uint64_t changes = kNotDrawn;
    ScreenImage::Pen pen{};
    std::uint64_t raisedBefore = 0; // errors raised before the drawing's last run
};

// Open modes of open_file, in the runtime's numbering.
enum class FileMode { Input = 3, Output = 4 };

// Everything the game calls. Every public operation first passes a check point
// (stop request -> ProgramExit, pause -> wait, pending error -> dialog), and while an
// error raised inside it is pending it returns at once without effect.
// The game's thread calls it, the window thread runs in WindowLoop. Construction selects
// text mode 0, starts the window thread and takes the clock's base from the time of day and
// its milliseconds, without waiting. It is the error sink of the parts the game calls itself
// (the text and number functions, the level reader, the maze).
class Services final : public ErrorSink {
  public:
    explicit Services(Platform& platform);
    ~Services();
    Services(const Services&) = delete;
    Services& operator=(const Services&) = delete;

    // ---- check points, errors, end ----
    // The check point the game's loops pass between steps.
    void checkpoint(Here here = Here::current());
    // Makes an error pending (the first one before the next check point wins).
    void raise(int code) override;
    int pending_error() const { return pendingError_; }
    // Takes the pending error away before its dialog shows, for the one place the game
    // handles a failure itself (a missing or damaged saved level); 0 when none is pending.
    int take_error()
    {
        const int code = pendingError_;
        pendingError_ = 0;
        return code;
    }
    // Closes files, prompts "Press any key to continue" on the last row, waits for a key,
    // then throws ProgramExit{0}.
    [[noreturn]] void end_program(Here here = Here::current());

    // ---- screen (services.cpp) ----
    void set_screen_mode(int mode, Here here = Here::current());
    ScreenImage& screen() { return screen_; }
    const ScreenImage& screen() const { return screen_; }

    // ---- drawing (draw.cpp) ----
    // given: bit set of supplied arguments (1 foreground, 2 background, 4 third).
    void set_colour(int foreground, int background, int third, int given,
                    Here here = Here::current());
    void set_foreground(int f, Here here = Here::current()) { set_colour(f, 0, 0, 1, here); }
    void set_background(int b, Here here = Here::current()) { set_colour(0, b, 0, 2, here); }
    void set_colours(int f, int b, Here here = Here::current()) { set_colour(f, b, 0, 3, here); }
    void draw_line(float x1, float y1, float x2, float y2, Here here = Here::current());
    void draw_ellipse(float x, float y, float radius, Here here = Here::current());
    void draw_point(float x, float y, Here here = Here::current());

    // ---- image blocks (blocks.cpp); `at` is the element index the block starts at ----
    void get_block(float x1, float y1, float x2, float y2, Words array, std::size_t at = 0,
                   Here here = Here::current());
    void put_block(float x, float y, Words array, std::size_t at, int action,
                   Here here = Here::current());
    void put_block(float x, float y, Words array, int action, Here here = Here::current())
    {
        put_block(x, y, array, 0, action, here);
    }
    // Loads a block file into the array from element `at` on (the destination offset is
    // checked against -65536..65535 bytes); a file longer than the room left is refused.
    void load_block_file(const std::string& name, Words array, std::size_t at = 0,
                         Here here = Here::current());

    // ---- text output (text.cpp) ----
    void locate(int row, int col, Here here = Here::current());
    void print_text(std::string_view text, bool lineEnd, Here here = Here::current());
    void fit_before_print(std::string_view text, Here here = Here::current());
    void tab_to(int column, Here here = Here::current());
    void clear_screen(Here here = Here::current());
    // A printed line of items: each item fitted then printed; then a line end unless stay.
    void print_line(std::initializer_list<std::string_view> items, bool stay = false,
                    Here here = Here::current());

    // ---- repeated drawings (repeat.cpp) ----
    // True when a drawing made only of stores that overwrite (prints, copied blocks, colour
    // choices) need not run: its inputs are those it last ran to its end with and no store
    // has changed the picture since, so it would store nothing. The pen is then set as the
    // drawing left it. Otherwise the mark takes the new inputs and the drawing must run and
    // end with repeat_drawn.
    // The inputs are one plain value without padding: its bytes are compared.
    template <class Inputs>
    bool repeat_unchanged(RepeatMark& mark, const Inputs& inputs, Here here = Here::current())
    {
        static_assert(std::is_trivially_copyable_v<Inputs>);
        return repeat_unchanged_bytes(mark, std::as_bytes(std::span<const Inputs, 1>(&inputs, 1)),
                                      here);
    }
    void repeat_drawn(RepeatMark& mark);

    // ---- sound (sound.cpp) ----
    void play_macro(std::string_view macro, Here here = Here::current());
    void sound_tone(double frequencyHz, double durationTicks, Here here = Here::current());
    void beep(Here here = Here::current());
    void play_sound_file(const std::string& name, bool overlap, Here here = Here::current());

    // ---- keyboard, clock, random (clock_random.cpp) ----
    std::string read_key(Here here = Here::current());
    std::string wait_keys(int n, Here here = Here::current());
    float timer_seconds(Here here = Here::current());
    std::string time_of_day(Here here = Here::current());
    void randomize(double seed, Here here = Here::current());
    float random_single(Here here = Here::current());
    // Sleeps the game's thread (used to pace the idle and menu loops).
    void pause_ms(double ms);
    // How long until the time of day shows its next second (1000 if the clock cannot be read).
    double ms_to_next_second();
    // The clock the game's pacing counts on, in milliseconds (no check point).
    double clock_ms();
    // True where the idle loop may sleep until something is due (sleep_until_key).
    bool sleeps_through_idle() const;
    // Sleeps the game's thread until untilMs or a key or a stop, whichever comes first, after
    // sending the picture just drawn to the display. False, without sleeping, when a key or a
    // stop is already there or the time has come.
    bool sleep_until_key(double untilMs);

    // ---- sequential files (file_ops.cpp) ----
    void open_file(const std::string& name, FileMode mode, int number, Here here = Here::current());
    void write_item(int number, std::string_view text, Here here = Here::current());
    std::string read_item(int number, Here here = Here::current());
    void close_all_files(Here here = Here::current());
    // Removes what an interrupted write of `name` left behind (its hidden new file, never
    // the file itself); nothing is raised. For the start of the program.
    void remove_unfinished_output(const std::string& name);

    // ---- the parts, for tests and the program's set-up (the game's code uses the operations
    // above) ----
    KeyBuffer& keys() { return keys_; }
    Platform& platform() { return platform_; }
    SoundSystem& sound() { return *sound_; }
    WindowLoop& window() { return *window_; }
    std::uint32_t random_seed() const { return seed_; }
    void set_random_seed(std::uint32_t s) { seed_ = s & 0xFFFFFF; }

  private:
    class Entry; // entry.h
    bool repeat_unchanged_bytes(RepeatMark& mark, std::span<const std::byte> inputs, Here here);
    // Passes the check point and notes the caller's line; false while an error raised
    // by an enclosing operation is pending (the operation must then do nothing).
    bool enter(const Here& here);
    void show_error_dialog();
    // Writes the file table's last problem on standard error.
    void report_file_problem();

    Platform& platform_;
    ScreenImage screen_;
    KeyBuffer keys_;
    StopRequest stop_; // set by the window, taken up by the check points and the sound waits
    std::unique_ptr<FileTable> files_;
    std::unique_ptr<SoundSystem> sound_;
    std::unique_ptr<WindowLoop> window_;

    int pendingError_ = 0;
    int pendingLine_ = 0;
    int stepLine_ = 0;
    int depth_ = 0;            // nesting of service calls inside one another
    std::uint64_t raised_ = 0; // errors raised so far

    std::uint32_t seed_ = 0x50000;
    double clockBaseMs_ = 0; // ms since midnight at the second boundary before start-up
    double clockStartTicks_ = 0;
};

} // namespace svc
