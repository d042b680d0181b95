#pragma once

#include <QString>

#include <string>
#include <vector>

// JSON text laid out byte for byte as QJsonDocument::toJson(Indented) lays
// it out: four spaces a level, and the members of every object in the order
// of their keys, whatever order they were written in. It goes straight into
// a buffer: `show --json` writes thousands of large objects, and building
// each as a QJsonObject first cost most of the command's time.
//
// The caller writes a well-formed document: a key before every value inside
// an object, none inside an array.
class IndentedJson
{
public:
    explicit IndentedJson(std::string &out) : m_out(out) {}

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();

    // Names the member whose value comes next. The key's text must stay
    // until its object ends (a literal, or a name from a table).
    IndentedJson &Key(const char *key);

    void Number(qint64 number);
    void Bool(bool value);
    void String(const QString &text);
    // Latin-1 text.
    void String(const char *text);
    void Null();

private:
    // Starts a value: the comma after the one before it, a new line, the indent.
    void Next();
    void Open(char bracket);
    void Close(char bracket);
    // Puts the members of the object that ends in the order of their keys.
    void SortMembers(std::size_t first);

    struct Level
    {
        qsizetype count = 0;         // values so far
        std::size_t firstMember = 0; // its members' first mark in m_members
    };
    // Where a member starts: at the comma or line end that comes before it.
    struct MemberMark
    {
        const char *key;
        std::size_t start;
    };

    std::string &m_out;
    std::vector<Level> m_levels;
    std::vector<MemberMark> m_members;
    bool m_afterKey = false;
};
