#include "view/TextPool.h"

#include <algorithm>
#include <cstring>

namespace {

// 64 K characters per chunk: big enough to make the per-chunk overhead vanish, small enough that
// the unused tail of the last chunk does not matter.
constexpr std::size_t ChunkLength = 1u << 16;

quint64 locate(std::size_t chunk, std::size_t offset)
{
    return (quint64(chunk) << 32) | quint64(offset);
}

} // namespace

template <typename Ch>
typename TextPool<Ch>::Chunk& TextPool<Ch>::chunkWithRoom(std::size_t length)
{
    if (m_chunks.empty() || m_chunks.back().capacity - m_chunks.back().used < length) {
        Chunk chunk;
        chunk.capacity = std::max(ChunkLength, length);
        chunk.data.reset(new Ch[chunk.capacity]);
        m_chunks.push_back(std::move(chunk));
    }
    return m_chunks.back();
}

template <typename Ch>
quint64 TextPool<Ch>::append(const Ch* data, std::size_t length)
{
    Chunk& chunk = chunkWithRoom(length);
    const quint64 where = locate(m_chunks.size() - 1, chunk.used);
    if (length > 0)
        std::memcpy(chunk.data.get() + chunk.used, data, length * sizeof(Ch));
    chunk.used += length;
    return where;
}

template <typename Ch>
quint64 TextPool<Ch>::extendLast(quint64 where, std::size_t length, const Ch* data,
                                 std::size_t count)
{
    const std::size_t index = std::size_t(where >> 32);
    const std::size_t offset = std::size_t(where & 0xFFFFFFFFu);
    Chunk& chunk = m_chunks[index];
    const bool atEnd = index + 1 == m_chunks.size() && offset + length == chunk.used;
    if (atEnd && chunk.capacity - chunk.used >= count) {
        std::memcpy(chunk.data.get() + chunk.used, data, count * sizeof(Ch));
        chunk.used += count;
        return where;
    }
    // Move the text to a fresh chunk; its old place is given back when it ended its chunk.
    Chunk fresh;
    fresh.capacity = std::max(ChunkLength, (length + count) * 2);
    fresh.data.reset(new Ch[fresh.capacity]);
    std::memcpy(fresh.data.get(), chunk.data.get() + offset, length * sizeof(Ch));
    std::memcpy(fresh.data.get() + length, data, count * sizeof(Ch));
    fresh.used = length + count;
    if (atEnd)
        chunk.used -= length;
    m_chunks.push_back(std::move(fresh));
    return locate(m_chunks.size() - 1, 0);
}

template <typename Ch>
void TextPool<Ch>::dropLast(quint64 where, std::size_t length)
{
    const std::size_t index = std::size_t(where >> 32);
    const std::size_t offset = std::size_t(where & 0xFFFFFFFFu);
    Chunk& chunk = m_chunks[index];
    if (index + 1 == m_chunks.size() && offset + length == chunk.used)
        chunk.used -= length;
}

template <typename Ch>
const Ch* TextPool<Ch>::data(quint64 where) const
{
    return m_chunks[std::size_t(where >> 32)].data.get() + std::size_t(where & 0xFFFFFFFFu);
}

template <typename Ch>
void TextPool<Ch>::clear()
{
    m_chunks.clear();
    m_chunks.shrink_to_fit();
}

template class TextPool<char>;
template class TextPool<char16_t>;
