#include "tools/JpegWriter.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared before it
#include <new>

#include <jerror.h>
#include <jpeglib.h>

#include <QImage>

#include "core/AtomicFile.h"

namespace {

// libjpeg ends the program on an error unless its error handler returns elsewhere: ours jumps back
// to the encoder with the library's message.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void leaveOnError(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    errors->base.format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings would go to the standard error stream; the picture is still written.
void ignoreMessage(j_common_ptr) {}

constexpr int FirstBufferSize = 64 * 1024;

// Collects the compressed bytes in memory, so the file is written in one piece afterwards.
struct MemoryDestination
{
    jpeg_destination_mgr base;
    QByteArray* bytes;
};

bool grow(MemoryDestination* destination, qsizetype size)
{
    try {
        destination->bytes->resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void startBuffer(j_compress_ptr info)
{
    auto* destination = reinterpret_cast<MemoryDestination*>(info->dest);
    if (!grow(destination, FirstBufferSize))
        ERREXIT(info, JERR_OUT_OF_MEMORY);
    destination->base.next_output_byte = reinterpret_cast<JOCTET*>(destination->bytes->data());
    destination->base.free_in_buffer = size_t(destination->bytes->size());
}

// Called when the buffer is full: doubles it.
boolean growBuffer(j_compress_ptr info)
{
    auto* destination = reinterpret_cast<MemoryDestination*>(info->dest);
    const qsizetype used = destination->bytes->size();
    if (!grow(destination, used * 2))
        ERREXIT(info, JERR_OUT_OF_MEMORY);
    destination->base.next_output_byte =
        reinterpret_cast<JOCTET*>(destination->bytes->data()) + used;
    destination->base.free_in_buffer = size_t(used);
    return TRUE;
}

void finishBuffer(j_compress_ptr info)
{
    auto* destination = reinterpret_cast<MemoryDestination*>(info->dest);
    destination->bytes->resize(destination->bytes->size() -
                               qsizetype(destination->base.free_in_buffer));
}

// Nothing in this frame may need a destructor: an error jumps back into it past libjpeg's frames.
bool compress(const QImage& rgb, int quality, QByteArray& out, ErrorManager& errors)
{
    jpeg_compress_struct info;
    MemoryDestination destination;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = leaveOnError;
    errors.base.output_message = ignoreMessage;
    errors.message[0] = '\0';
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    destination.base.init_destination = startBuffer;
    destination.base.empty_output_buffer = growBuffer;
    destination.base.term_destination = finishBuffer;
    destination.bytes = &out;
    info.dest = &destination.base;

    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto row = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

JpegWriter::JpegWriter(int quality) : m_quality(quality) {}

QByteArray JpegWriter::encode(const QImage& image)
{
    m_error.clear();
    // Three bytes a pixel, red first, as libjpeg's RGB input takes them.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    QByteArray bytes;
    ErrorManager errors;
    if (!compress(rgb, m_quality, bytes, errors)) {
        m_error = QString::fromLocal8Bit(errors.message);
        return QByteArray();
    }
    return bytes;
}

bool JpegWriter::write(const QImage& image, const QString& fileName)
{
    const QByteArray bytes = encode(image);
    if (bytes.isEmpty())
        return false;
    AtomicFile file(fileName);
    if (!file.open()) {
        m_error = file.errorString();
        return false;
    }
    if (file.device().write(bytes) != bytes.size()) {
        m_error = file.device().errorString();
        return false;
    }
    if (!file.commit()) {
        m_error = file.errorString();
        return false;
    }
    return true;
}
