#pragma once
// A printer for the tests: a PDF writer at a given resolution that writes into memory.
#include <QBuffer>
#include <QPdfWriter>

namespace printertest {

struct PdfPage {
    explicit PdfPage(int dpi) : writer(&buffer)
    {
        buffer.open(QIODevice::WriteOnly);
        writer.setResolution(dpi);
    }
    QBuffer buffer;
    QPdfWriter writer;
};

}  // namespace printertest
