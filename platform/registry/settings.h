#pragma once
// The runtime library's program settings, stored in the registry under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>.
#include <QString>

// The text stored for key, or defaultValue when there is none.
QString GetSetting(const QString &AppName, const QString &Section, const QString &Key,
                   const QString &Default = QString());

// Stores setting as the text of key. An empty application, section or key
// name raises run-time error 5; a registry that cannot be written, error 75.
void SaveSetting(const QString &AppName, const QString &Section, const QString &Key, const QString &Setting);
