#pragma once
// Hands batches of work from a producer thread to a consumer thread: the producer fills a batch
// while the consumer works through the one before. A few batches circulate; neither side ever
// allocates one, and neither runs more than the pool ahead of the other.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

namespace sw {

template <typename Batch> class BatchHandoff {
public:
    explicit BatchHandoff(std::size_t batches = 3) : pool_(batches) {
        for (auto& batch : pool_) {
            free_.push_back(&batch);
        }
    }
    BatchHandoff(const BatchHandoff&) = delete;
    BatchHandoff& operator=(const BatchHandoff&) = delete;

    // Producer: a batch to fill (as it was last used); nothing once the consumer has stopped.
    Batch* take() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !free_.empty() || stopped_; });
        if (stopped_) {
            return nullptr;
        }
        Batch* batch = free_.back();
        free_.pop_back();
        return batch;
    }
    // Producer: a filled batch for the consumer.
    void give(Batch* batch) {
        {
            std::lock_guard lock(mutex_);
            full_.push_back(batch);
        }
        changed_.notify_all();
    }
    // Producer: nothing more will come.
    void finish() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        changed_.notify_all();
    }

    // Consumer: the next filled batch, in the order given; nothing when the producer has
    // finished and every batch was taken.
    Batch* next() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !full_.empty() || finished_; });
        if (full_.empty()) {
            return nullptr;
        }
        Batch* batch = full_.front();
        full_.pop_front();
        return batch;
    }
    // Consumer: a batch it is done with.
    void recycle(Batch* batch) {
        {
            std::lock_guard lock(mutex_);
            free_.push_back(batch);
        }
        changed_.notify_all();
    }
    // Consumer: wants no more; a producer waiting for a batch gives up.
    void stop() {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
    }

private:
    std::vector<Batch> pool_; // never resized: the pointers below stay valid
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Batch*> free_;
    std::deque<Batch*> full_;
    bool finished_ = false;
    bool stopped_ = false;
};

} // namespace sw
