// A file of definitions that zqserverd loads at start (--definitions FILE),
// so that tests and users start with forms, views, images and support
// files in place. One definition per line; blank lines and lines starting
// with '#' are skipped:
//
//   form DESCRIPTION                  as --form: Name:id:type[:fieldName],...
//   view FORM:ID:NAME[:LOCALE]        a view of a form (ID 0: the server's choice)
//   image NAME:TYPE:PATH              an image read from PATH
//   support-file FORM:FILE-ID:PATH    a support file of a form read from PATH
//
// Relative paths are taken from the file's own folder. Every definition
// goes through the same store operations as the calls that create them.
#pragma once

#include <string>

namespace zqserver {

struct Store;

// Loads every definition of the file, all or none. False, with the line
// number and a reason in error, when the file cannot be read, a line is
// malformed or the store refuses a definition.
bool loadDefinitionsFile(Store& store, const std::string& path, std::string& error);

}  // namespace zqserver
