#include "formats.h"

#include "writer.h"

void WriteCsvField(BufferedWriter& out, QByteArrayView field)
{
    const auto padded = [](char c) { return c == ' ' || c == '\t'; };
    const bool quote = field.contains(',') || field.contains('"') || field.contains('\n') ||
                       field.contains('\r') ||
                       (!field.isEmpty() && (padded(field.front()) || padded(field.back())));
    if (!quote)
        return out.append(field);
    out.append('"');
    for (qsizetype at = field.indexOf('"'); at >= 0; at = field.indexOf('"')) {
        out.append(field.first(at + 1));
        out.append('"'); // a quote inside is written twice
        field = field.sliced(at + 1);
    }
    out.append(field);
    out.append('"');
}

void WriteJsonString(BufferedWriter& out, QByteArrayView text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    static constexpr QByteArrayView kNamed("\"\\\n\r\t"), kNames("\"\\nrt");
    out.append('"');
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (const qsizetype named = kNamed.indexOf(c); named >= 0) {
            const char escaped[] = {'\\', kNames[named]};
            out.append(escaped, sizeof escaped);
        } else if (u < 0x20) {
            const char escaped[] = {'\\', 'u', '0', '0', kHex[u >> 4], kHex[u & 15]};
            out.append(escaped, sizeof escaped);
        } else
            out.append(c);
    }
    out.append('"');
}
