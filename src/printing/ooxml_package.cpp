#include "printing/ooxml_package.h"

#include "app/app_error.h"
#include "printing/xml_util.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <zip.h>

#include <algorithm>
#include <ctime>
#include <memory>

namespace printing {

namespace {

const QString kContentTypesPart = QStringLiteral("[Content_Types].xml");

QString normalisedPartName(const QString& name)
{
    return name.startsWith(QLatin1Char('/')) ? name.mid(1) : name;
}

[[noreturn]] void throwZipError(const QString& what, zip_error_t* error)
{
    const QString detail = QString::fromUtf8(zip_error_strerror(error));
    zip_error_fini(error);
    throw app::AppError(QStringLiteral("%1：%2").arg(what, detail));
}

struct ZipCloser
{
    void operator()(zip_t* archive) const { zip_discard(archive); }
};

// Archives written by us carry a fixed time stamp so that packing is reproducible.
constexpr time_t kFixedTimestamp = 315532800 + 86400; // 1980-01-02

QByteArray writeArchive(const std::vector<std::pair<QString, const QByteArray*>>& files)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer)
        throwZipError(QStringLiteral("无法创建文档压缩包"), &error);
    zip_source_keep(buffer);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_source_free(buffer);
        throwZipError(QStringLiteral("无法创建文档压缩包"), &error);
    }
    for (const auto& [name, content] : files) {
        zip_source_t* source = zip_source_buffer(archive, content->constData(), static_cast<zip_uint64_t>(content->size()), 0);
        const QByteArray utf8Name = name.toUtf8();
        const zip_int64_t index = source ? zip_file_add(archive, utf8Name.constData(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (source)
                zip_source_free(source);
            const QString detail = QString::fromUtf8(zip_strerror(archive));
            zip_discard(archive);
            zip_source_free(buffer);
            throw app::AppError(QStringLiteral("无法写入文档部件“%1”：%2").arg(name, detail));
        }
        // Level 1: printed documents are small and saving speed matters more than size.
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 1);
        zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), kFixedTimestamp, 0);
    }
    if (zip_close(archive) < 0) {
        const QString detail = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        zip_source_free(buffer);
        throw app::AppError(QStringLiteral("无法完成文档压缩包：%1").arg(detail));
    }
    QByteArray bytes;
    if (zip_source_open(buffer) == 0) {
        zip_source_seek(buffer, 0, SEEK_END);
        const zip_int64_t size = zip_source_tell(buffer);
        zip_source_seek(buffer, 0, SEEK_SET);
        bytes.resize(static_cast<qsizetype>(size));
        zip_source_read(buffer, bytes.data(), static_cast<zip_uint64_t>(size));
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    return bytes;
}

} // namespace

OoxmlPackage OoxmlPackage::fromBytes(const QByteArray& bytes)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &error);
    if (!source)
        throwZipError(QStringLiteral("无法读取文档"), &error);
    std::unique_ptr<zip_t, ZipCloser> archive(zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archive) {
        zip_source_free(source);
        throwZipError(QStringLiteral("文档不是有效的Office文件"), &error);
    }
    OoxmlPackage package;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    package.m_entries.reserve(static_cast<size_t>(count));
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &stat) != 0)
            throw app::AppError(QStringLiteral("文档压缩包已损坏"));
        const QString name = QString::fromUtf8(stat.name);
        if (name.endsWith(QLatin1Char('/')))
            continue; // folder entry
        zip_file_t* file = zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(i), 0);
        if (!file)
            throw app::AppError(QStringLiteral("无法读取文档部件“%1”").arg(name));
        QByteArray content(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
        const zip_int64_t read = zip_fread(file, content.data(), stat.size);
        zip_fclose(file);
        if (read != static_cast<zip_int64_t>(stat.size))
            throw app::AppError(QStringLiteral("无法读取文档部件“%1”").arg(name));
        package.m_entries.push_back({name, std::move(content)});
    }
    return package;
}

OoxmlPackage OoxmlPackage::fromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw app::AppError(QStringLiteral("无法打开文档“%1”：%2").arg(QDir::toNativeSeparators(path), file.errorString()));
    return fromBytes(file.readAll());
}

const OoxmlPackage::Entry* OoxmlPackage::find(const QString& name) const
{
    const QString wanted = normalisedPartName(name);
    for (const Entry& entry : m_entries)
        if (entry.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return &entry;
    return nullptr;
}

OoxmlPackage::Entry* OoxmlPackage::find(const QString& name)
{
    return const_cast<Entry*>(std::as_const(*this).find(name));
}

bool OoxmlPackage::hasPart(const QString& name) const
{
    return find(name) != nullptr;
}

QByteArray OoxmlPackage::part(const QString& name) const
{
    const Entry* entry = find(name);
    if (!entry)
        throw app::AppError(QStringLiteral("文档缺少部件“%1”").arg(name));
    return entry->content;
}

void OoxmlPackage::setPart(const QString& name, const QByteArray& content)
{
    if (Entry* entry = find(name))
        entry->content = content;
    else
        m_entries.push_back({normalisedPartName(name), content});
}

void OoxmlPackage::removePart(const QString& name)
{
    const QString wanted = normalisedPartName(name);
    std::erase_if(m_entries, [&](const Entry& entry) { return entry.name.compare(wanted, Qt::CaseInsensitive) == 0; });
}

QStringList OoxmlPackage::partNames() const
{
    QStringList names;
    for (const Entry& entry : m_entries)
        names << entry.name;
    return names;
}

QByteArray OoxmlPackage::toBytes() const
{
    std::vector<std::pair<QString, const QByteArray*>> files;
    files.reserve(m_entries.size());
    for (const Entry& entry : m_entries)
        if (entry.name == kContentTypesPart)
            files.emplace_back(entry.name, &entry.content);
    for (const Entry& entry : m_entries)
        if (entry.name != kContentTypesPart)
            files.emplace_back(entry.name, &entry.content);
    return writeArchive(files);
}

void OoxmlPackage::saveToFile(const QString& path) const
{
    saveBytesToFile(path, toBytes());
}

void saveBytesToFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw app::AppError(QStringLiteral("无法保存文件“%1”：%2").arg(QDir::toNativeSeparators(path), file.errorString()));
}

// --- content types -------------------------------------------------------------------------

QString OoxmlPackage::contentTypeOf(const QString& partName) const
{
    if (!hasPart(kContentTypesPart))
        return {};
    pugi::xml_document types;
    xml::load(types, part(kContentTypesPart), kContentTypesPart);
    const QString wanted = QLatin1Char('/') + normalisedPartName(partName);
    for (pugi::xml_node node : types.document_element().children("Override"))
        if (xml::attribute(node, "PartName").compare(wanted, Qt::CaseInsensitive) == 0)
            return xml::attribute(node, "ContentType");
    const QString extension = QFileInfo(wanted).suffix();
    for (pugi::xml_node node : types.document_element().children("Default"))
        if (xml::attribute(node, "Extension").compare(extension, Qt::CaseInsensitive) == 0)
            return xml::attribute(node, "ContentType");
    return {};
}

void OoxmlPackage::setDefaultContentType(const QString& extension, const QString& contentType)
{
    pugi::xml_document types;
    xml::load(types, part(kContentTypesPart), kContentTypesPart);
    pugi::xml_node root = types.document_element();
    for (pugi::xml_node node : root.children("Default"))
        if (xml::attribute(node, "Extension").compare(extension, Qt::CaseInsensitive) == 0)
            return;
    const pugi::xml_node firstOverride = root.child("Override");
    pugi::xml_node node = firstOverride ? root.insert_child_before("Default", firstOverride) : root.append_child("Default");
    xml::setAttribute(node, "Extension", extension);
    xml::setAttribute(node, "ContentType", contentType);
    setPart(kContentTypesPart, xml::save(types));
}

void OoxmlPackage::setOverrideContentType(const QString& partName, const QString& contentType)
{
    pugi::xml_document types;
    xml::load(types, part(kContentTypesPart), kContentTypesPart);
    pugi::xml_node root = types.document_element();
    const QString name = QLatin1Char('/') + normalisedPartName(partName);
    pugi::xml_node node;
    for (pugi::xml_node candidate : root.children("Override"))
        if (xml::attribute(candidate, "PartName").compare(name, Qt::CaseInsensitive) == 0)
            node = candidate;
    if (!node) {
        node = root.append_child("Override");
        xml::setAttribute(node, "PartName", name);
    }
    xml::setAttribute(node, "ContentType", contentType);
    setPart(kContentTypesPart, xml::save(types));
}

void OoxmlPackage::removeOverrideContentType(const QString& partName)
{
    pugi::xml_document types;
    xml::load(types, part(kContentTypesPart), kContentTypesPart);
    pugi::xml_node root = types.document_element();
    const QString name = QLatin1Char('/') + normalisedPartName(partName);
    for (pugi::xml_node node = root.child("Override"); node;) {
        pugi::xml_node next = node.next_sibling("Override");
        if (xml::attribute(node, "PartName").compare(name, Qt::CaseInsensitive) == 0)
            root.remove_child(node);
        node = next;
    }
    setPart(kContentTypesPart, xml::save(types));
}

// --- relationships -------------------------------------------------------------------------

QString OoxmlPackage::relationshipsPartOf(const QString& sourcePart)
{
    const QString source = normalisedPartName(sourcePart);
    if (source.isEmpty())
        return QStringLiteral("_rels/.rels");
    const qsizetype slash = source.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : source.left(slash + 1);
    return folder + QStringLiteral("_rels/") + source.mid(slash + 1) + QStringLiteral(".rels");
}

QString OoxmlPackage::resolveTarget(const QString& sourcePart, const QString& target)
{
    if (target.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(target).mid(1);
    const QString source = normalisedPartName(sourcePart);
    const qsizetype slash = source.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : source.left(slash + 1);
    QString resolved = QDir::cleanPath(folder + target);
    return normalisedPartName(resolved);
}

std::vector<Relationship> OoxmlPackage::relationships(const QString& sourcePart) const
{
    std::vector<Relationship> result;
    const QString relsPart = relationshipsPartOf(sourcePart);
    if (!hasPart(relsPart))
        return result;
    pugi::xml_document rels;
    xml::load(rels, part(relsPart), relsPart);
    for (pugi::xml_node node : rels.document_element().children("Relationship"))
        result.push_back({xml::attribute(node, "Id"), xml::attribute(node, "Type"), xml::attribute(node, "Target"),
                          xml::attribute(node, "TargetMode") == QLatin1String("External")});
    return result;
}

QString OoxmlPackage::addRelationship(const QString& sourcePart, const QString& type, const QString& target, bool external,
                                      const QString& wantedId)
{
    const QString relsPart = relationshipsPartOf(sourcePart);
    pugi::xml_document rels;
    if (hasPart(relsPart)) {
        xml::load(rels, part(relsPart), relsPart);
    } else {
        pugi::xml_node declaration = rels.append_child(pugi::node_declaration);
        declaration.append_attribute("version") = "1.0";
        declaration.append_attribute("encoding") = "UTF-8";
        declaration.append_attribute("standalone") = "yes";
        rels.append_child("Relationships").append_attribute("xmlns") = ooxml::kRelationshipsNs;
    }
    pugi::xml_node root = rels.document_element();
    int number = 1;
    for (pugi::xml_node node : root.children("Relationship")) {
        const QString id = xml::attribute(node, "Id");
        if (id.startsWith(QLatin1String("rId")))
            number = std::max(number, id.mid(3).toInt() + 1);
    }
    const QString id = wantedId.isEmpty() ? QStringLiteral("rId%1").arg(number) : wantedId;
    pugi::xml_node node = root.append_child("Relationship");
    xml::setAttribute(node, "Id", id);
    xml::setAttribute(node, "Type", type);
    xml::setAttribute(node, "Target", target);
    if (external)
        xml::setAttribute(node, "TargetMode", QStringLiteral("External"));
    setPart(relsPart, xml::save(rels));
    return id;
}

void OoxmlPackage::removeRelationshipsTo(const QString& sourcePart, const QString& targetPart)
{
    const QString relsPart = relationshipsPartOf(sourcePart);
    if (!hasPart(relsPart))
        return;
    pugi::xml_document rels;
    xml::load(rels, part(relsPart), relsPart);
    pugi::xml_node root = rels.document_element();
    const QString wanted = normalisedPartName(targetPart);
    for (pugi::xml_node node = root.child("Relationship"); node;) {
        pugi::xml_node next = node.next_sibling("Relationship");
        const bool external = xml::attribute(node, "TargetMode") == QLatin1String("External");
        if (!external && resolveTarget(sourcePart, xml::attribute(node, "Target")).compare(wanted, Qt::CaseInsensitive) == 0)
            root.remove_child(node);
        node = next;
    }
    setPart(relsPart, xml::save(rels));
}

QString OoxmlPackage::mainDocumentPart() const
{
    for (const Relationship& relationship : relationships(QString()))
        if (relationship.type == QLatin1String(ooxml::kOfficeDocumentRel))
            return resolveTarget(QString(), relationship.target);
    throw app::AppError(QStringLiteral("文档缺少主文档部件"));
}

QString OoxmlPackage::unusedPartName(const QString& wanted) const
{
    const QString name = normalisedPartName(wanted);
    if (!hasPart(name))
        return name;
    const QFileInfo info(name);
    const QString folder = info.path() == QLatin1String(".") ? QString() : info.path() + QLatin1Char('/');
    for (int n = 2;; ++n) {
        const QString candidate = QStringLiteral("%1%2_%3.%4").arg(folder, info.completeBaseName()).arg(n).arg(info.suffix());
        if (!hasPart(candidate))
            return candidate;
    }
}

// --- packing a folder ----------------------------------------------------------------------

QByteArray packDirectory(const QString& dir)
{
    const QDir root(QFileInfo(dir).absoluteFilePath()); // relative names are taken against an absolute root
    if (!root.exists())
        throw app::AppError(QStringLiteral("找不到文件夹“%1”").arg(QDir::toNativeSeparators(dir)));
    QStringList names;
    QDirIterator it(root.absolutePath(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        names << root.relativeFilePath(it.next());
    names.sort();
    if (!names.contains(kContentTypesPart))
        throw app::AppError(QStringLiteral("文件夹“%1”缺少%2").arg(QDir::toNativeSeparators(dir), kContentTypesPart));
    names.removeAll(kContentTypesPart);
    names.prepend(kContentTypesPart);

    std::vector<QByteArray> contents;
    contents.reserve(static_cast<size_t>(names.size()));
    for (const QString& name : names) {
        QFile file(root.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            throw app::AppError(QStringLiteral("无法读取文件“%1”：%2").arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
        contents.push_back(file.readAll());
    }
    std::vector<std::pair<QString, const QByteArray*>> files;
    for (qsizetype i = 0; i < names.size(); ++i)
        files.emplace_back(names[i], &contents[static_cast<size_t>(i)]);
    QByteArray bytes = writeArchive(files);

    // A part without a content type would make Word and Excel refuse the file.
    const OoxmlPackage package = OoxmlPackage::fromBytes(bytes);
    for (const QString& name : names.mid(1))
        if (package.contentTypeOf(name).isEmpty())
            throw app::AppError(QStringLiteral("“%1”中的部件“%2”没有内容类型").arg(QDir::toNativeSeparators(dir), name));
    return bytes;
}

} // namespace printing
