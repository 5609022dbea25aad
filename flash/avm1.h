#pragma once

// A small assembler for ActionScript 1/2 bytecode (the actions of DoAction
// tags and buttons): enough to register the player's frame callbacks in a
// movie and to write small movies.

#include <QByteArray>
#include <QString>
#include <QStringList>

class Avm1
{
public:
    // Pushing values.
    Avm1 &push(const QString &string);
    Avm1 &push(int integer);
    Avm1 &pushDouble(double value);
    Avm1 &pushBool(bool value);
    Avm1 &pushNull();
    Avm1 &pushUndefined();

    // Variables, members, calls. callFunction and callMethod expect the
    // arguments pushed last first, then their count, then (for a method)
    // the object, then the name.
    Avm1 &getVariable() { return op(0x1C); }
    Avm1 &setVariable() { return op(0x1D); }
    Avm1 &getMember() { return op(0x4E); }
    Avm1 &setMember() { return op(0x4F); }
    Avm1 &callFunction() { return op(0x3D); }
    Avm1 &callMethod() { return op(0x52); }
    Avm1 &pop() { return op(0x17); }
    Avm1 &ret() { return op(0x3E); }
    Avm1 &defineLocal() { return op(0x3C); }

    // Arithmetic and comparison (ActionScript 2 semantics).
    Avm1 &add() { return op(0x47); }
    Avm1 &subtract() { return op(0x0B); }
    Avm1 &multiply() { return op(0x0C); }
    Avm1 &divide() { return op(0x0D); }
    Avm1 &modulo() { return op(0x3F); }
    Avm1 &increment() { return op(0x50); }
    Avm1 &decrement() { return op(0x51); }
    Avm1 &less() { return op(0x48); }
    Avm1 &equals() { return op(0x49); }
    Avm1 &logicalNot() { return op(0x12); }
    Avm1 &toInteger() { return op(0x18); }
    Avm1 &random() { return op(0x30); }
    Avm1 &getTime() { return op(0x34); }
    Avm1 &typeOf() { return op(0x44); }
    Avm1 &trace() { return op(0x26); }

    // Timeline.
    Avm1 &play() { return op(0x06); }
    Avm1 &stop() { return op(0x07); }
    Avm1 &nextFrame() { return op(0x04); }
    Avm1 &gotoFrame(int zeroBasedFrame);
    Avm1 &getUrl(const QString &url, const QString &target);
    // GetURL2 with its flags, the URL and target taken from the stack
    // (0x40: load into a target, 0x80: load variables).
    Avm1 &rawGetUrl2(int flags);

    // Branches: the offset counts bytes from the end of the branch action.
    Avm1 &branchIfTrue(int offset);
    Avm1 &jump(int offset);

    // An anonymous function (left on the stack) or a named one.
    Avm1 &defineFunction(const QString &name, const QStringList &parameters, const Avm1 &body);

    // The bytecode so far, and with the closing End action.
    QByteArray code() const { return m_code; }
    QByteArray finished() const { return m_code + QByteArray(1, '\0'); }
    int size() const { return int(m_code.size()); }

private:
    Avm1 &op(char code);
    Avm1 &record(char code, const QByteArray &data);
    Avm1 &pushRaw(const QByteArray &item);

    QByteArray m_code;
};
