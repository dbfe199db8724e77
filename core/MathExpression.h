// One calculation script (".exp" file): texts of its bar button, the expression with its
// NULL policy, user constants and intermediate variables, and its evaluation over curves.
#pragma once

#include "core/CoreTypes.h"
#include "core/MParser.h"

#include <functional>
#include <string>
#include <vector>

// The number input box, registered by the application (core has no UI). Returns false
// when the user cancels; value holds the initial value and receives the answer.
using AskNumberHook = std::function<bool(const std::string& title, const std::string& prompt, int decimals,
                                         double min, double max, double& value)>;
void SetAskNumberHook(AskNumberHook hook);
// Asks through the registered box; false without one or when the user cancels.
bool AskNumber(const std::string& title, const std::string& prompt, int decimals, double min, double max,
               double& value);

class TMathExpression
{
public:
    static constexpr int DefaultButton = 15;

    // 0 when the file holds Version 1 and a Name, else 2. The path becomes the file name;
    // clears the modified flag.
    int Load(const std::string& path);
    // Writes the record to its file; false (old file kept) when it has no file name, the write
    // failed or a text is longer than a settings value (255 characters) and would be cut.
    bool Save();

    const std::string& GetFileName() const { return fileName_; }
    void SetFileName(const std::string& path);
    const std::string& GetLastError() const { return lastError_; }
    bool IsModified() const { return modified_; }
    int GetVersion() const { return version_; }

    const std::string& GetName() const { return name_; }
    void SetName(const std::string& name);
    const std::string& GetCaption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const std::string& GetHint() const { return hint_; }
    void SetHint(const std::string& hint);
    int GetButton() const { return button_; }
    void SetButton(int width);
    const std::string& GetValue() const { return value_; }
    void SetValue(const std::string& expression);
    int GetNullType() const { return nullType_; }
    void SetNullType(int type); // 0..2 only
    float GetNullSubst() const { return nullSubst_; }
    void SetNullSubst(float value);
    bool GetShow() const { return show_; }
    void SetShow(bool show);

    // Constants and variables are edited in memory without the modified flag.
    TMParser& GetParser() { return parser_; }
    const TMParser& GetParser() const { return parser_; }

    // Number of curve arguments: the largest N of x[N] / x(N) / X[N] / X(N) in the expression
    // and the variables, plus one; 0 when none.
    int GetMaxCurveIndex() const;
    // Asks every user constant through the number box; false when one is cancelled.
    bool AskUserConstValues();
    // Evaluates the script over samples first..last (inclusive) of the argument arrays into
    // result (grown when shorter); depths may be null. False with GetLastError() on failure.
    bool Calculate(const std::vector<const float*>& args, FloatVector& result, int first, int last,
                   float nullValue, const float* depths);

private:
    void Modify() { modified_ = true; }
    bool Fail(const std::string& message);
    bool FitsTheFile() const;

    std::string fileName_;
    std::string lastError_;
    std::string name_;
    std::string caption_;
    std::string hint_;
    int button_ = DefaultButton;
    std::string value_;
    int nullType_ = 0;
    float nullSubst_ = 0;
    bool show_ = true;
    bool modified_ = false;
    int version_ = 1;
    TMParser parser_;
};
