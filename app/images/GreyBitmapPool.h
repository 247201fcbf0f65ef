// Memory for the grey card bitmaps of one recognition run. The cards of a run are bitmaps of
// much the same size, each alive only until its request has gone out; each would otherwise be
// a mapping of its own (at the process's allocator settings), faulted in page by page and
// unmapped again, on every preparing thread at once. A bitmap's buffer comes back here when the
// last image over it goes and is handed to a later card; the pool keeps only a few and frees
// them when the run ends.
#pragma once

#include <QImage>

#include <memory>

class GreyBitmapPool {
public:
    // Keeps at most `kept` buffers for reuse.
    explicit GreyBitmapPool(int kept);
    // Frees the buffers kept; those still under an image are freed with the image's last copy.
    ~GreyBitmapPool();
    GreyBitmapPool(const GreyBitmapPool&) = delete;
    GreyBitmapPool& operator=(const GreyBitmapPool&) = delete;

    // An 8-bit grey image (rows 4-byte aligned, contents undefined) over a kept buffer that fits,
    // else over a new one; null when memory runs out. Any thread.
    QImage greyImage(int width, int height);
    // Buffers kept for reuse, not those under images.
    int keptCount() const;

    // The pool from which the calling thread's grey decodings take their bitmaps, or null (then
    // each bitmap is an image of its own). Set for the thread while a Use lives.
    static GreyBitmapPool* current();
    class Use {
    public:
        explicit Use(GreyBitmapPool* pool);
        ~Use();
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;

    private:
        GreyBitmapPool* m_previous;
    };

private:
    struct State;
    struct Buffer;
    static void bufferReleased(void* buffer);

    std::shared_ptr<State> m_state; // shared with the buffers out, which may outlive the pool
};
