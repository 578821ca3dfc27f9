#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include <QtGlobal>

// Characters of many short texts kept in large chunks: no heap block per text and no copying of
// everything when the pool grows. Each text is contiguous; only the last one can grow.
template <typename Ch>
class TextPool
{
public:
    // Stores a new text and returns where it lives.
    quint64 append(const Ch* data, std::size_t length);
    // Adds characters to the text appended last (of `length` characters); it may move.
    quint64 extendLast(quint64 where, std::size_t length, const Ch* data, std::size_t count);
    // Gives back the space of the text appended last.
    void dropLast(quint64 where, std::size_t length);
    const Ch* data(quint64 where) const;
    void clear();

private:
    struct Chunk
    {
        std::unique_ptr<Ch[]> data;
        std::size_t capacity = 0;
        std::size_t used = 0;
    };

    Chunk& chunkWithRoom(std::size_t length);

    std::vector<Chunk> m_chunks;
};
