#include "services/database/text_feed.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <streambuf>

namespace sw {

class TextFeed::Buffer : public std::streambuf {
public:
    explicit Buffer(TextFeed& feed) : feed_(feed) {}
    void readFor(std::istream& stream) { stream_ = &stream; }

protected:
    int_type underflow() override {
        if (gptr() < egptr()) {
            return traits_type::to_int_type(*gptr());
        }
        const long long got = feed_.read(offset_, data_, sizeof data_);
        if (got < 0) {
            // A bad stream: the reader fails, it never takes a shorter text for the whole.
            if (stream_ != nullptr) {
                stream_->setstate(std::ios::badbit);
            }
            return traits_type::eof();
        }
        if (got == 0) {
            return traits_type::eof();
        }
        offset_ += static_cast<std::size_t>(got);
        setg(data_, data_, data_ + got);
        return traits_type::to_int_type(*gptr());
    }

private:
    TextFeed& feed_;
    std::istream* stream_ = nullptr;
    std::size_t offset_ = 0;
    char data_[1 << 16];
};

// An istream that owns its buffer.
class TextFeed::Stream : public std::istream {
public:
    explicit Stream(std::unique_ptr<Buffer> buffer)
        : std::istream(buffer.get()), buffer_(std::move(buffer)) {
        buffer_->readFor(*this);
    }

private:
    std::unique_ptr<Buffer> buffer_;
};

void TextFeed::append(std::string_view text) {
    if (text.empty()) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        starts_.push_back(size_);
        blocks_.emplace_back(text);
        size_ += text.size();
    }
    more_.notify_all();
}

void TextFeed::finish() {
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    more_.notify_all();
}

void TextFeed::giveUp() {
    {
        std::lock_guard lock(mutex_);
        givenUp_ = true;
    }
    more_.notify_all();
}

long long TextFeed::read(std::size_t offset, char* out, std::size_t room) {
    std::unique_lock lock(mutex_);
    more_.wait(lock, [&] { return givenUp_ || finished_ || size_ > offset; });
    if (givenUp_) {
        return -1;
    }
    if (size_ <= offset) {
        return 0;
    }
    // The block holding `offset`: the last one starting at or before it.
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
    const auto block = static_cast<std::size_t>(std::distance(starts_.begin(), after)) - 1;
    const std::string& text = blocks_[block];
    const std::size_t from = offset - starts_[block];
    const std::size_t count = std::min(room, text.size() - from);
    std::memcpy(out, text.data() + from, count);
    return static_cast<long long>(count);
}

std::unique_ptr<std::istream> TextFeed::reader() {
    return std::make_unique<Stream>(std::make_unique<Buffer>(*this));
}

} // namespace sw
