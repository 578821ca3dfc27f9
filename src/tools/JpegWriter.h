#pragma once

#include <QByteArray>
#include <QString>

class QImage;

// Encodes a picture as JPEG with libjpeg's defaults at one quality, and writes it to a file
// whole: a failure leaves no file and no part of one, and errorString() gives the reason.
class JpegWriter final
{
public:
    static constexpr int DefaultQuality = 90;

    explicit JpegWriter(int quality = DefaultQuality);

    // The JPEG data of image; empty when libjpeg refuses it (an empty picture, one too large).
    QByteArray encode(const QImage& image);
    // Replaces fileName with the JPEG data of image; false when it could not be encoded or
    // written.
    bool write(const QImage& image, const QString& fileName);
    // Why the last encode() or write() failed.
    QString errorString() const { return m_error; }

private:
    int m_quality;
    QString m_error;
};
