#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

class QIODevice;

namespace orvanta::picture {

class Canvas;

// One open graticule file, read row by row from its start. A row is a list of
// two-byte records, GratFlags then GratLength; each record paints one run.
class GraticuleFile
{
public:
    // GratFlags bits.
    static constexpr std::uint8_t kAdd256 = 0x01;
    static constexpr std::uint8_t kAdd512 = 0x02;
    static constexpr std::uint8_t kGreenRun = 0x04;
    static constexpr std::uint8_t kLastOfRow = 0x08;

    GraticuleFile();
    ~GraticuleFile();
    GraticuleFile(const GraticuleFile &) = delete;
    GraticuleFile &operator=(const GraticuleFile &) = delete;

    // Opens an existing file for reading (never creates one); false if it cannot.
    bool open(const QString &path);
    // Takes a device that is already open for reading.
    bool open(std::unique_ptr<QIODevice> device);
    void close();
    bool isOpen() const;

    // Reads the next row and paints it on the canvas row. False once the file
    // has run out: the rest of a row cut short stays as it was, and nothing
    // more is read.
    bool DrawGratLine(Canvas &canvas, int row);
    bool exhausted() const { return exhausted_; }

private:
    bool readRecord();

    std::unique_ptr<QIODevice> file_;
    // The file's bytes, read whole when it opens: rows are then drawn without
    // a call into the file per byte.
    QByteArray bytes_;
    qsizetype next_ = 0;
    int GratRunStart = 0;
    int GratRunEnd = 0;
    std::uint8_t GratFlags = 0;
    std::uint8_t GratLength = 0;
    bool exhausted_ = false;
};

} // namespace orvanta::picture
