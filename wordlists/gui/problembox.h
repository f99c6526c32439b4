#pragma once

#include <QString>

class QObject;

// The windows' way of telling problems: a warning box titled "Quillmere",
// over the window whose action met them.
void ShowProblemBox(QObject* parent, const QString& message);
