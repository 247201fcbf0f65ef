// A field of the service login, as the login and the account settings windows show it.
#pragma once

#include "plugin/Controller/QDLTextFiledMatter.h"
#include "plugin/Controller/ViewTexts.h"

#include <QLineEdit>

inline QLineEdit* credentialField(QWidget* parent, const char* name, const char* labelKey, bool secret)
{
    // No credential of the service is longer; the keychain item holds them whole.
    constexpr int kMaxCredentialLength = 16000;
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setAccessibleName(ViewTexts::text(labelKey));
    QDLTextFiledMatter::apply(field, kMaxCredentialLength);
    if (secret)
        field->setEchoMode(QLineEdit::Password);
    return field;
}
