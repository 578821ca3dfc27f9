#include "view/TextPool.h"

#include <algorithm>
#include <cstring>

namespace {

// 64 K characters per chunk: big enough to make the per-chunk overhead vanish, small enough that
// the unused tail of the last chunk does not matter.
constexpr std::size_t ChunkLength = 1u << 16;

// A place is the chunk number in bits 32-61 and the offset in bits 0-31; bits 62 and 63 stay
// free for the pool's user.
constexpr quint32 NumberMask = 0x3FFFFFFFu;

} // namespace

template <typename Ch>
std::size_t TextPool<Ch>::indexOf(quint64 where) const
{
    return std::size_t((quint32(where >> 32) - m_firstNumber) & NumberMask);
}

template <typename Ch>
quint64 TextPool<Ch>::locate(std::size_t index, std::size_t offset) const
{
    const quint32 number = (m_firstNumber + quint32(index)) & NumberMask;
    return (quint64(number) << 32) | quint64(offset);
}

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
    ++chunk.texts;
    return where;
}

template <typename Ch>
quint64 TextPool<Ch>::extendLast(quint64 where, std::size_t length, const Ch* data,
                                 std::size_t count)
{
    const std::size_t index = indexOf(where);
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
    fresh.texts = 1;
    if (atEnd && !isShared(chunk))
        chunk.used -= length;
    m_chunks.push_back(std::move(fresh));
    releaseIn(index);
    return locate(m_chunks.size() - 1, 0);
}

template <typename Ch>
void TextPool<Ch>::dropLast(quint64 where, std::size_t length)
{
    const std::size_t index = indexOf(where);
    const std::size_t offset = std::size_t(where & 0xFFFFFFFFu);
    Chunk& chunk = m_chunks[index];
    if (index + 1 == m_chunks.size() && offset + length == chunk.used && !isShared(chunk))
        chunk.used -= length;
    releaseIn(index);
}

template <typename Ch>
void TextPool<Ch>::release(quint64 where)
{
    releaseIn(indexOf(where));
}

template <typename Ch>
void TextPool<Ch>::releaseIn(std::size_t index)
{
    Chunk& chunk = m_chunks[index];
    if (--chunk.texts > 0)
        return;
    if (index + 1 == m_chunks.size()) {
        // The chunk being filled stays for the next texts, in fresh memory when it is shared.
        if (isShared(chunk))
            chunk.data.reset(new Ch[chunk.capacity]);
        chunk.used = 0;
        return;
    }
    chunk.data.reset();
    chunk.capacity = chunk.used = 0;
    // Texts are released about in the order they were stored, so freed chunks gather at the
    // front; the last chunk always stays.
    while (m_chunks.size() > 1 && !m_chunks.front().data) {
        m_chunks.pop_front();
        m_firstNumber = (m_firstNumber + 1) & NumberMask;
    }
}

template <typename Ch>
const Ch* TextPool<Ch>::data(quint64 where) const
{
    return m_chunks[indexOf(where)].data.get() + std::size_t(where & 0xFFFFFFFFu);
}

template <typename Ch>
TextPool<Ch> TextPool<Ch>::shared(quint64 first, quint64 last) const
{
    TextPool copy;
    const std::size_t from = indexOf(first);
    const std::size_t to = indexOf(last);
    copy.m_firstNumber = quint32(first >> 32) & NumberMask;
    for (std::size_t i = from; i <= to; ++i) {
        const Chunk& chunk = m_chunks[i];
        Chunk view;
        view.data = chunk.data;
        view.capacity = chunk.capacity;
        view.used = chunk.used;
        copy.m_chunks.push_back(std::move(view));
    }
    return copy;
}

template <typename Ch>
void TextPool<Ch>::clear()
{
    m_chunks.clear();
    m_chunks.shrink_to_fit();
    m_firstNumber = 0;
}

template <typename Ch>
std::size_t TextPool<Ch>::allocated() const
{
    std::size_t total = 0;
    for (const Chunk& chunk : m_chunks)
        total += chunk.capacity;
    return total;
}

template class TextPool<char>;
template class TextPool<char16_t>;
