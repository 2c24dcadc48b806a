#pragma once
// Text that a statement reads as a text file while it is still being written: the writer
// hands it over block by block, and a statement naming the file (Database::feedTextFile)
// reads the blocks as they come instead of waiting for the file to be complete. Readers start
// at the beginning, as many times as they like (the text is kept until the feed goes), and
// wait for text not yet given. A feed that is given up makes its readers fail (their stream
// goes bad) rather than see a shorter text.

#include <condition_variable>
#include <istream>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

class TextFeed {
public:
    // The writer's: more text, then finish() once all of it is given, or giveUp().
    void append(std::string_view text);
    void finish();
    void giveUp();

    // A stream over the whole text from its beginning.
    std::unique_ptr<std::istream> reader();

private:
    class Buffer;
    class Stream;
    // Copies up to `room` bytes from `offset` into `out`, waiting until there are some or the
    // text ended; how many were copied (0 at the end), or -1 when the feed was given up.
    long long read(std::size_t offset, char* out, std::size_t room);

    std::mutex mutex_;
    std::condition_variable more_;
    std::vector<std::string> blocks_;
    std::vector<std::size_t> starts_; // each block's offset in the whole text
    std::size_t size_ = 0;
    bool finished_ = false;
    bool givenUp_ = false;
};

} // namespace sw
