// The words of job titles and departments in the languages cards are printed in but Japanese
// (English, German with its feminine forms, French, Italian, Spanish, Portuguese, Russian, Chinese
// and Korean). Latin words match whole and without regard to case or accents, so that a title
// read without its accents ("Directeur general") is still one.
#pragma once

#include <QRegularExpression>
#include <QString>

// The text lower-cased and without accents ("Geschäftsführerin" gives "geschaftsfuhrerin"), one
// character for each of the text's.
QString foldedForWords(const QString& text);

// A word or phrase of a job title: "Account Manager", "Directrice commerciale", "Jefa de ventas",
// "Leiterin Einkauf", "Генеральный директор", "总经理", "팀장". The pattern is for folded text.
const QRegularExpression& jobTitleWords();
bool namesAJobTitle(const QString& text);

// A word or phrase of a department: "Human Resources", "Service juridique", "Recursos Humanos",
// "Отдел продаж", "市场部", "마케팅팀". The pattern is for folded text.
const QRegularExpression& departmentWords();
bool namesADepartment(const QString& text);
