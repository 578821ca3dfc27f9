#pragma once

#include <cstddef>
#include <deque>
#include <memory>

#include <QtGlobal>

// Characters of many short texts kept in large chunks: no heap block per text and no copying of
// everything when the pool grows. Each text is contiguous; only the last one can grow. A chunk
// counts the texts living in it and is freed once all of them are released, so a pane that drops
// its oldest lines gives their memory back. Chunks can be shared with a read-only copy of some of
// the texts; the pool then never writes again where that copy may read.
template <typename Ch>
class TextPool
{
public:
    // Stores a new text and returns where it lives.
    quint64 append(const Ch* data, std::size_t length);
    // Adds characters to the text appended last (of `length` characters); it may move.
    quint64 extendLast(quint64 where, std::size_t length, const Ch* data, std::size_t count);
    // Removes the text appended last and gives back its space.
    void dropLast(quint64 where, std::size_t length);
    // The text is no longer needed; its place must not be read again.
    void release(quint64 where);
    const Ch* data(quint64 where) const;
    // A read-only pool holding the chunks from the one of `first` to the one of `last` (places
    // of texts stored here), shared rather than copied: every text stored between them can be
    // read there at the same place, whatever this pool does afterwards.
    TextPool shared(quint64 first, quint64 last) const;
    // The position of a text's chunk from the front chunk, for ordering places.
    std::size_t chunkIndex(quint64 where) const { return indexOf(where); }
    void clear();
    // Characters of chunks held, used or not.
    std::size_t allocated() const;

private:
    struct Chunk
    {
        std::shared_ptr<Ch[]> data;
        std::size_t capacity = 0;
        std::size_t used = 0;
        std::size_t texts = 0;
    };

    Chunk& chunkWithRoom(std::size_t length);
    std::size_t indexOf(quint64 where) const;
    quint64 locate(std::size_t index, std::size_t offset) const;
    void releaseIn(std::size_t index);
    // Whether a read-only pool still reads the chunk: its unused room may be filled, but no
    // character before `used` may change.
    bool isShared(const Chunk& chunk) const { return chunk.data.use_count() > 1; }

    std::deque<Chunk> m_chunks;
    // The number of the front chunk. Chunk numbers only grow (modulo 2^30), so a place stays
    // valid while chunks before it are freed.
    quint32 m_firstNumber = 0;
};
