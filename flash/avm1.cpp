#include "avm1.h"

#include <QtEndian>

#include <cstring>

namespace {

void appendU16(QByteArray &out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

QByteArray cString(const QString &s)
{
    // Movies of version 6 and later store strings as UTF-8.
    return s.toUtf8() + QByteArray(1, '\0');
}

} // namespace

Avm1 &Avm1::op(char code)
{
    m_code.append(code);
    return *this;
}

Avm1 &Avm1::record(char code, const QByteArray &data)
{
    m_code.append(code);
    appendU16(m_code, int(data.size()));
    m_code.append(data);
    return *this;
}

Avm1 &Avm1::pushRaw(const QByteArray &item)
{
    return record(char(0x96), item);
}

Avm1 &Avm1::push(const QString &string)
{
    return pushRaw(QByteArray(1, '\0') + cString(string));
}

Avm1 &Avm1::push(int integer)
{
    QByteArray item(1, '\x07');
    const quint32 le = qToLittleEndian(quint32(integer));
    item.append(reinterpret_cast<const char *>(&le), 4);
    return pushRaw(item);
}

Avm1 &Avm1::pushDouble(double value)
{
    // ActionScript doubles are stored as two little-endian 32-bit halves,
    // the high half first.
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    QByteArray item(1, '\x06');
    const quint32 high = qToLittleEndian(quint32(bits >> 32));
    const quint32 low = qToLittleEndian(quint32(bits & 0xFFFFFFFFu));
    item.append(reinterpret_cast<const char *>(&high), 4);
    item.append(reinterpret_cast<const char *>(&low), 4);
    return pushRaw(item);
}

Avm1 &Avm1::pushBool(bool value)
{
    return pushRaw(QByteArray("\x05") + QByteArray(1, value ? '\x01' : '\0'));
}

Avm1 &Avm1::pushNull()
{
    return pushRaw(QByteArray(1, '\x02'));
}

Avm1 &Avm1::pushUndefined()
{
    return pushRaw(QByteArray(1, '\x03'));
}

Avm1 &Avm1::gotoFrame(int zeroBasedFrame)
{
    QByteArray data;
    appendU16(data, zeroBasedFrame);
    return record(char(0x81), data);
}

Avm1 &Avm1::getUrl(const QString &url, const QString &target)
{
    return record(char(0x83), cString(url) + cString(target));
}

Avm1 &Avm1::rawGetUrl2(int flags)
{
    return record(char(0x9A), QByteArray(1, char(flags)));
}

Avm1 &Avm1::branchIfTrue(int offset)
{
    QByteArray data;
    appendU16(data, offset);
    return record(char(0x9D), data);
}

Avm1 &Avm1::jump(int offset)
{
    QByteArray data;
    appendU16(data, offset);
    return record(char(0x99), data);
}

Avm1 &Avm1::defineFunction(const QString &name, const QStringList &parameters, const Avm1 &body)
{
    QByteArray data = cString(name);
    appendU16(data, int(parameters.size()));
    for (const QString &p : parameters)
        data.append(cString(p));
    appendU16(data, body.size());
    record(char(0x9B), data);
    m_code.append(body.code());
    return *this;
}
