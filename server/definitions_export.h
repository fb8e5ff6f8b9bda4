// zqserverd's export text: definitions written out and read back, whatever
// their kind, through a table of the kinds of the definition store (a new
// kind is a row of kExportKinds in definitions_export.cpp).
//
// FORMAT (UTF-8, one block per definition, blocks separated by a blank line;
// lines starting with '#' are comments):
//
//   # zqserverd definitions
//   form: Tickets
//     owner: Demo
//     last-changed: Demo
//     created: 1700000000
//     changed: 1700000000
//     record: <Base64 of the definition's parts, XDR at protocol version 14>
//
//   field: Tickets            a definition below a form names its form ...
//     id: 536870913           ... and its own id and name
//     name: Title
//     ...
//
//   support-file: Tickets     a support file of a form (type 1, id 0)
//     file-id: 3
//     changed: 1700000000
//     content: <Base64 of the file>
//
//   entry: Tickets            an entry of a form (item type 2, export only
//     id: 000000000000001     in the item list), its values as the store
//     values: <Base64 of the field value list, XDR at version 14>
//
// The record is the exact form the store keeps (definition_store.h), so an
// import brings back the definition as it was exported, its owner, change
// times and change diary included, and two exports of the same definitions
// are identical. A form's block is followed by its fields, views and
// support files, in id order. The client puts "char-set: UTF-8" in front of
// the text it hands to its caller; the reader skips that line.
//
// IMPORT creates what is new and replaces what exists (option
// ZQ_IMPORT_OPTION_NO_OVERWRITE: an existing definition refuses the import),
// in one transaction: a malformed or truncated text, an undecodable record
// or a refused definition leaves the store unchanged. An item list limits
// the import to the listed definitions (a form brings its fields, views and
// support files); entries are imported only by an import of everything,
// made or replaced under their own ids. REMOVAL (ZQUnImport) deletes the top-level definitions the
// text names (a form with everything below it) and its entries; those
// already gone are skipped.
#pragma once

#include <cstdint>
#include <string>

#include "entry_store.h"
#include "zqapi/zq_transfer.h"

namespace zqserver {

struct Store;

StoreResult exportDefinitions(Store& store, const ZQStructItemList& items, std::string& text);
StoreResult importDefinitions(Store& store, const ZQStructItemList& items, const std::string& text,
                              uint32_t option);
StoreResult removeImported(Store& store, const ZQStructItemList& items, const std::string& text);

}  // namespace zqserver
