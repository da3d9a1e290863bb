#pragma once
// The toolkit's wide string. On Linux wchar_t holds UTF-32; conversions go through UTF-8.

#include <compare>
#include <string>
#include <string_view>

namespace DuiLib {

class CDuiString {
  public:
    CDuiString() = default;
    CDuiString(const wchar_t* text) : text_(text ? text : L"") {}  // NOLINT: implicit by design
    CDuiString(const wchar_t* text, int length);
    CDuiString(std::wstring text) : text_(std::move(text)) {}  // NOLINT
    CDuiString(std::wstring_view text) : text_(text) {}        // NOLINT
    CDuiString(wchar_t ch) : text_(1, ch) {}                   // NOLINT

    static CDuiString FromUtf8(std::string_view utf8);
    std::string ToUtf8() const;

    // printf-style formatting with the Windows wide conventions: %s and %c take wide
    // arguments (wchar_t* / wchar_t), %S a narrow char*.
    static CDuiString FormatText(const wchar_t* format, ...);
    int Format(const wchar_t* format, ...);
    int SmallFormat(const wchar_t* format, ...);

    const wchar_t* GetData() const { return text_.c_str(); }
    operator const wchar_t*() const { return text_.c_str(); }  // NOLINT
    const std::wstring& str() const { return text_; }
    std::wstring_view view() const { return text_; }
    int GetLength() const { return static_cast<int>(text_.size()); }
    bool IsEmpty() const { return text_.empty(); }
    void Empty() { text_.clear(); }
    wchar_t GetAt(int index) const;
    void SetAt(int index, wchar_t ch);
    void Append(std::wstring_view text) { text_.append(text); }
    void Assign(std::wstring_view text, int length = -1);

    int Compare(std::wstring_view other) const;
    int CompareNoCase(std::wstring_view other) const;
    void MakeUpper();
    void MakeLower();
    CDuiString Left(int length) const;
    CDuiString Mid(int position, int length = -1) const;
    CDuiString Right(int length) const;
    int Find(wchar_t ch, int position = 0) const;
    int Find(std::wstring_view text, int position = 0) const;
    int ReverseFind(wchar_t ch) const;
    int Replace(std::wstring_view from, std::wstring_view to);

    CDuiString& operator+=(std::wstring_view text) {
        text_.append(text);
        return *this;
    }
    CDuiString& operator+=(const wchar_t* text) {
        return *this += std::wstring_view(text ? text : L"");
    }
    CDuiString& operator+=(const CDuiString& text) { return *this += text.view(); }
    CDuiString& operator+=(wchar_t ch) {
        text_.push_back(ch);
        return *this;
    }
    friend CDuiString operator+(CDuiString left, std::wstring_view right) { return left += right; }
    friend CDuiString operator+(CDuiString left, const wchar_t* right) { return left += right; }
    friend CDuiString operator+(CDuiString left, const CDuiString& right) { return left += right; }
    friend CDuiString operator+(const wchar_t* left, const CDuiString& right) {
        return CDuiString(left) += right;
    }
    friend bool operator==(const CDuiString& a, const CDuiString& b) { return a.text_ == b.text_; }
    friend bool operator==(const CDuiString& a, const wchar_t* b) {
        return a.text_ == (b ? b : L"");
    }
    friend std::strong_ordering operator<=>(const CDuiString& a, const CDuiString& b) {
        return a.text_ <=> b.text_;
    }

  private:
    std::wstring text_;
};

}  // namespace DuiLib
