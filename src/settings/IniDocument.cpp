#include "IniDocument.h"

#include <algorithm>
#include <utility>

#include <QByteArrayView>

#include "core/AsciiCase.h"
#include "core/Cp1252.h"

namespace {

constexpr qsizetype MaxValueLength = 2047;
const char* const CrLf = "\r\n";
const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

} // namespace

QString IniDocument::trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

IniDocument::IniDocument(const QByteArray& data) : m_original(data)
{
    // Lines end at CR LF, LF or a lone CR; each keeps its own line end.
    const qsizetype size = data.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = start;
        while (end < size && data[end] != '\r' && data[end] != '\n')
            ++end;
        Node node;
        node.text = data.mid(start, end - start);
        start = end;
        if (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') {
            node.eol = CrLf;
            start += 2;
        } else if (end < size) {
            node.eol = data[end] == '\r' ? "\r" : "\n";
            start += 1;
        }
        classify(node, m_nodes.isEmpty());
        const int id = add(std::move(node));
        if (m_tail >= 0)
            m_nodes[m_tail].next = id;
        else
            m_head = id;
        m_tail = id;
    }

    int current = -1; // keys before any section, or under "[]", belong to none
    bool firstBlock = false;
    for (int id = m_head; id >= 0; id = m_nodes[id].next) {
        const Node& node = m_nodes[id];
        if (node.kind == Kind::Section) {
            if (node.lower.isEmpty()) {
                current = -1;
                continue;
            }
            current = m_sectionIndex.value(node.lower, -1);
            firstBlock = current < 0;
            if (firstBlock) {
                current = int(m_sections.size());
                m_sectionIndex.insert(node.lower, current);
                m_sections.append(SectionLines());
                m_sections.last().header = id;
            }
        } else if (node.kind == Kind::Key && current >= 0) {
            SectionLines& section = m_sections[current];
            section.keys[node.lower].append(id);
            if (firstBlock)
                section.keysOfFirstBlock.append(id);
        }
    }
}

// Blank lines, comments (";"), lines without "=" and lines with an empty key are Other.
void IniDocument::classify(Node& node, bool first) const
{
    QByteArrayView bytes(node.text);
    // A hand-edited file saved with a UTF-8 mark must still show its first section.
    if (first && bytes.startsWith(Utf8Bom))
        bytes = bytes.sliced(Utf8Bom.size());
    const QString text = Cp1252::decode(bytes.data(), bytes.size());
    node.kind = Kind::Other;
    node.name.clear();
    node.lower.clear();
    node.raw.clear();
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i == text.size() || text[i] == QLatin1Char(';'))
        return;
    if (text[i] == QLatin1Char('[')) {
        const qsizetype close = text.indexOf(QLatin1Char(']'), i + 1);
        node.kind = Kind::Section;
        node.name = trimBlanks(text.mid(i + 1, close < 0 ? -1 : close - i - 1));
        node.lower = AsciiCase::toLower(node.name);
        return;
    }
    const qsizetype eq = text.indexOf(QLatin1Char('='), i);
    if (eq < 0)
        return;
    QString name = trimBlanks(text.mid(i, eq - i));
    if (name.isEmpty())
        return;
    node.kind = Kind::Key;
    node.lower = AsciiCase::toLower(name);
    node.name = std::move(name);
    node.raw = text.mid(eq + 1);
}

int IniDocument::add(Node node)
{
    const int id = int(m_nodes.size());
    m_nodes.append(std::move(node));
    return id;
}

// A last line without a line end gets one before anything follows it.
int IniDocument::insertAfter(int at, Node node)
{
    const int id = add(std::move(node));
    Node& before = m_nodes[at];
    if (!*before.eol)
        before.eol = CrLf;
    m_nodes[id].next = before.next;
    before.next = id;
    if (m_tail == at)
        m_tail = id;
    return id;
}

int IniDocument::append(Node node)
{
    if (m_tail >= 0)
        return insertAfter(m_tail, std::move(node));
    const int id = add(std::move(node));
    m_head = id;
    m_tail = id;
    return id;
}

IniDocument::Node IniDocument::keyLine(const QString& key, const QString& value) const
{
    Node node;
    node.text = Cp1252::encode(key + QLatin1Char('=') + value);
    node.eol = CrLf;
    classify(node, false);
    return node;
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value)
{
    const QString lowerKey = AsciiCase::toLower(key);
    const int index = m_sectionIndex.value(AsciiCase::toLower(section), -1);
    if (index < 0) {
        Node header;
        header.text = Cp1252::encode(QLatin1Char('[') + section + QLatin1Char(']'));
        header.eol = CrLf;
        header.addedHeader = true;
        classify(header, false);
        const int headerId = append(std::move(header));
        const int keyId = append(keyLine(key, value));
        SectionLines lines;
        lines.header = headerId;
        lines.keysOfFirstBlock.append(keyId);
        lines.keys[lowerKey].append(keyId);
        m_sectionIndex.insert(AsciiCase::toLower(section), int(m_sections.size()));
        m_sections.append(std::move(lines));
        m_changed = true;
        return;
    }

    SectionLines& lines = m_sections[index];
    QList<int>& keyLines = lines.keys[lowerKey];
    if (!keyLines.isEmpty()) {
        // The first line of the key is replaced and keeps its own line end.
        Node& node = m_nodes[keyLines.first()];
        Node replaced = keyLine(key, value);
        if (node.text == replaced.text)
            return;
        replaced.eol = node.eol;
        replaced.next = node.next;
        node = std::move(replaced);
        m_changed = true;
        return;
    }
    // After the first block's last key, so blank lines and comments that end it stay below.
    QList<int>& block = lines.keysOfFirstBlock;
    while (!block.isEmpty() && !m_nodes[block.last()].live)
        block.removeLast();
    m_nodes[lines.header].live = true;
    const int at = block.isEmpty() ? lines.header : block.last();
    const int id = insertAfter(at, keyLine(key, value));
    block.append(id);
    keyLines.append(id);
    m_changed = true;
}

// Every line of the key goes, so that a hand-made duplicate does not show up once it is gone.
void IniDocument::removeKey(const QString& section, const QString& key)
{
    const int index = m_sectionIndex.value(AsciiCase::toLower(section), -1);
    if (index < 0)
        return;
    const auto found = m_sections[index].keys.find(AsciiCase::toLower(key));
    if (found == m_sections[index].keys.end() || found->isEmpty())
        return;
    for (const int id : std::as_const(*found))
        m_nodes[id].live = false;
    found->clear();
    m_changed = true;
    // A section the changes made and emptied again leaves nothing behind.
    SectionLines& lines = m_sections[index];
    if (m_nodes[lines.header].addedHeader) {
        const bool empty =
            std::none_of(lines.keysOfFirstBlock.cbegin(), lines.keysOfFirstBlock.cend(),
                         [this](int id) { return m_nodes[id].live; });
        m_nodes[lines.header].live = !empty;
    }
}

std::optional<QByteArray> IniDocument::changedBytes() const
{
    if (!m_changed)
        return std::nullopt;
    QByteArray out = bytes();
    if (out == m_original)
        return std::nullopt;
    return out;
}

QByteArray IniDocument::bytes() const
{
    QByteArray out;
    qsizetype size = 0;
    for (int id = m_head; id >= 0; id = m_nodes[id].next) {
        if (m_nodes[id].live)
            size += m_nodes[id].text.size() + 2;
    }
    out.reserve(size);
    for (int id = m_head; id >= 0; id = m_nodes[id].next) {
        const Node& node = m_nodes[id];
        if (node.live) {
            out.append(node.text);
            out.append(node.eol);
        }
    }
    return out;
}

IniDocument::Contents IniDocument::contents() const
{
    Contents out;
    Section* current = nullptr;
    for (int id = m_head; id >= 0; id = m_nodes[id].next) {
        const Node& node = m_nodes[id];
        if (!node.live)
            continue;
        if (node.kind == Kind::Section) {
            current = node.lower.isEmpty() ? nullptr : &out[node.lower];
        } else if (node.kind == Kind::Key && current && !current->values.contains(node.lower)) {
            current->values.insert(node.lower, readValue(node.raw));
            current->names.append(node.name);
        }
    }
    return out;
}

QString IniDocument::readValue(const QString& raw)
{
    QString value = trimBlanks(raw);
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            value = value.mid(1, value.size() - 2);
    }
    if (value.size() > MaxValueLength)
        value.truncate(MaxValueLength);
    return value;
}
