#include "printing/xml_util.h"

#include "app/app_error.h"

#include <sstream>

namespace printing::xml {

void load(pugi::xml_document& document, const QByteArray& bytes, const QString& partName)
{
    const pugi::xml_parse_result result =
        document.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()),
                             pugi::parse_default | pugi::parse_ws_pcdata_single | pugi::parse_declaration,
                             pugi::encoding_utf8);
    if (!result)
        throw app::AppError(QStringLiteral("文档部件“%1”不是有效的XML：%2").arg(partName, QString::fromUtf8(result.description())));
}

namespace {

struct ByteArrayWriter : pugi::xml_writer
{
    QByteArray bytes;
    void write(const void* data, size_t size) override
    {
        bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
};

} // namespace

QByteArray save(const pugi::xml_document& document)
{
    ByteArrayWriter writer;
    writer.bytes.reserve(64 * 1024);
    document.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return writer.bytes;
}

void setAttribute(pugi::xml_node node, const char* name, const QString& value)
{
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute)
        attribute = node.append_attribute(name);
    attribute.set_value(value.toUtf8().constData());
}

QString stripForbiddenCharacters(const QString& value)
{
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < value.size() && value.at(i + 1).isLowSurrogate()) {
            result.append(c);
            result.append(value.at(++i));
            continue;
        }
        if (c.isSurrogate())
            continue;
        if (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r')
            continue;
        if (u == 0xFFFE || u == 0xFFFF)
            continue;
        result.append(c);
    }
    return result;
}

} // namespace printing::xml
