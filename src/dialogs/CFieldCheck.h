// The check a setup dialog makes when the focus leaves one of its number fields: a field whose
// text the dialog cannot take shows the field's message and gets the focus back; a good one is
// applied. The focus moving to another application or into a pop-up does not count as leaving,
// nor does moving to a button marked with setSkipsFieldCheck (Cancel: leaving without keeping
// anything needs no valid field).
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <map>

class QLineEdit;

class CFieldCheck : public QObject
{
    Q_OBJECT

public:
    /** What to say about a field's text; an empty string means the text is fine. */
    using Check = std::function<QString(const QString& text)>;
    /** What to do with a fine text. */
    using Apply = std::function<void(const QString& text)>;

    explicit CFieldCheck(QObject* parent = nullptr);

    /** Checks `edit` whenever it loses the focus. */
    void watch(QLineEdit* edit, Check check, Apply apply);
    /** Runs the check of `edit` now, as when it loses the focus; returns false when it refused
     *  the text (the message was shown and the focus given back). */
    bool checkNow(QLineEdit* edit);

    /** Marks a widget to which the focus may move without the field being checked. */
    static void setSkipsFieldCheck(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry
    {
        Check check;
        Apply apply;
    };
    std::map<QLineEdit*, Entry> entries_;
    bool checking_ = false;
};
