// XML documents: parsed, their objects listed, and every object read as the
// kind the document says it is, plus every kind under a name that may be
// there. What a read fills is released; a refusal must leave nothing.
#include "fuzz_target.h"

namespace {

void readObject(ZQControlStruct* c, ZQXMLParsedStream* p, const ZQStructItemStruct& item,
                ZQStatusList* s) {
  const char* name = item.name;
  const char* form = item.selectedElements.count ? item.selectedElements.items[0] : "";
  ZQPermissionList perms{};
  ZQInternalIdList ids{}, ids2{};
  ZQWorkflowConnectStruct forms{};
  ZQQualifierStruct query{};
  ZQPropList props{};
  char* help = nullptr;
  char* app = nullptr;
  switch (item.type) {
    case ZQ_STRUCT_ITEM_SCHEMA: {
      ZQCompoundSchema kind{};
      ZQSchemaInheritanceList inheritance{};
      ZQEntryListFieldList listFields{};
      ZQSortList sort{};
      ZQIndexList indexes{};
      ZQArchiveInfoStruct archive{};
      ZQAuditInfoStruct audit{};
      ZQNameType view = {};
      if (ZQGetSchemaFromXML(c, p, name, &app, nullptr, &kind, &inheritance, &perms, &ids,
                             &listFields, &sort, &indexes, &archive, &audit, view, nullptr, &ids2,
                             nullptr, &help, nullptr, nullptr, nullptr, nullptr, &props, nullptr,
                             s) == 0) {
        FreeZQCompoundSchema(&kind, 0);
        FreeZQSchemaInheritanceList(&inheritance, 0);
        FreeZQEntryListFieldList(&listFields, 0);
        FreeZQSortList(&sort, 0);
        FreeZQIndexList(&indexes, 0);
        FreeZQArchiveInfoStruct(&archive, 0);
        FreeZQAuditInfoStruct(&audit, 0);
      }
      break;
    }
    case ZQ_XML_OBJECT_FIELD: {
      ZQFieldMappingStruct mapping{};
      ZQValueStruct def{};
      ZQFieldLimitStruct limit{};
      ZQDisplayInstanceList displays{};
      if (ZQGetFieldFromXML(c, p, form, name, nullptr, &mapping, nullptr, nullptr, nullptr, nullptr,
                            &def, &perms, &limit, &displays, &help, nullptr, nullptr, nullptr,
                            nullptr, &props, s) == 0) {
        FreeZQValueStruct(&def, 0);
        FreeZQFieldLimitStruct(&limit, 0);
        FreeZQDisplayInstanceList(&displays, 0);
      }
      break;
    }
    case ZQ_XML_OBJECT_VIEW:
      ZQGetVUIFromXML(c, p, form, name, nullptr, &help, nullptr, &props, s);
      break;
    case ZQ_STRUCT_ITEM_IMAGE: {
      ZQImageDataStruct data{};
      if (ZQGetImageFromXML(c, p, name, &app, nullptr, &data, nullptr, nullptr, nullptr, nullptr,
                            &help, nullptr, nullptr, nullptr, &props, s) == 0)
        FreeZQImageDataStruct(&data, 0);
      break;
    }
    case ZQ_STRUCT_ITEM_FILTER:
    case ZQ_STRUCT_ITEM_ESCALATION: {
      ZQFilterActionList a{}, e{};
      const int rc = item.type == ZQ_STRUCT_ITEM_FILTER
                         ? ZQGetFilterFromXML(c, p, name, &app, nullptr, nullptr, &forms, nullptr,
                                              nullptr, &query, &a, &e, &help, nullptr, nullptr,
                                              nullptr, nullptr, &props, nullptr, nullptr, s)
                         : ZQGetEscalationFromXML(c, p, name, &app, nullptr, nullptr, &forms,
                                                  nullptr, &query, &a, &e, &help, nullptr, nullptr,
                                                  nullptr, nullptr, &props, s);
      if (rc == 0) {
        FreeZQFilterActionList(&a, 0);
        FreeZQFilterActionList(&e, 0);
      }
      break;
    }
    case ZQ_STRUCT_ITEM_ACTIVE_LINK: {
      ZQActiveLinkActionList a{}, e{};
      if (ZQGetActiveLinkFromXML(c, p, name, &app, nullptr, nullptr, &forms, &ids, nullptr, nullptr,
                                 nullptr, nullptr, &query, &a, &e, &ids2, &help, nullptr, nullptr,
                                 nullptr, nullptr, &props, nullptr, nullptr, s) == 0) {
        FreeZQActiveLinkActionList(&a, 0);
        FreeZQActiveLinkActionList(&e, 0);
      }
      break;
    }
    case ZQ_STRUCT_ITEM_CHAR_MENU: {
      ZQCharMenuStruct menu{};
      if (ZQGetMenuFromXML(c, p, name, &app, nullptr, nullptr, &menu, &help, nullptr, nullptr,
                           nullptr, nullptr, &props, s) == 0)
        FreeZQCharMenuStruct(&menu, 0);
      break;
    }
    case ZQ_STRUCT_ITEM_CONTAINER: {
      ZQContainerOwnerObjList owners{};
      ZQReferenceList refs{};
      char* label = nullptr;
      if (ZQGetContainerFromXML(c, p, name, &app, nullptr, &perms, &ids, &owners, &label, nullptr,
                                nullptr, &refs, &help, nullptr, nullptr, nullptr, nullptr, &props,
                                s) == 0) {
        FreeZQContainerOwnerObjList(&owners, 0);
        FreeZQReferenceList(&refs, 0);
        ZQFree(label);
      }
      break;
    }
    case ZQ_XML_OBJECT_DSO_MAPPING: {
      char* mapping = nullptr;
      if (ZQGetDSOMappingFromXML(c, p, name, &app, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, &mapping, nullptr, &query, &help,
                                 nullptr, nullptr, nullptr, nullptr, &props, s) == 0)
        ZQFree(mapping);
      break;
    }
    case ZQ_XML_OBJECT_DSO_POOL: {
      char* connection = nullptr;
      if (ZQGetDSOPoolFromXML(c, p, name, &app, nullptr, nullptr, nullptr, nullptr, &connection,
                              nullptr, nullptr, &help, nullptr, nullptr, nullptr, nullptr, &props,
                              s) == 0)
        ZQFree(connection);
      break;
    }
    default:
      break;
  }
  FreeZQPermissionList(&perms, 0);
  FreeZQInternalIdList(&ids, 0);
  FreeZQInternalIdList(&ids2, 0);
  FreeZQWorkflowConnectStruct(&forms, 0);
  FreeZQQualifierStruct(&query, 0);
  FreeZQPropList(&props, 0);
  ZQFree(help);
  ZQFree(app);
}

}  // namespace

ZQ_FUZZ_TARGET(xml)(const uint8_t* data, size_t size) {
  ZQControlStruct* c = zqfuzz::session();
  std::string doc = zqfuzz::text(data, size);
  ZQXMLInputDoc in{};
  in.docType = ZQ_XML_DOC_CHAR_STR;
  in.u.charBuffer = doc.data();
  ZQXMLParsedStream parsed{};
  ZQStatusList s{};
  if (ZQParseXMLDocument(c, &in, nullptr, &parsed, nullptr, nullptr, &s) == 0) {
    ZQStructItemList objects{};
    if (ZQGetListXMLObjects(c, &parsed, &objects, &s) == 0)
      for (uint32_t i = 0; i < objects.count; ++i) readObject(c, &parsed, objects.items[i], &s);
    FreeZQStructItemList(&objects, 0);
    // The entry forms of the same document.
    ZQFieldValueList values{};
    ZQStatusList reply{};
    if (ZQPullCreateEntryFromXML(c, &in, nullptr, &values, nullptr, &reply, &s) == 0) {
      FreeZQFieldValueList(&values, 0);
      FreeZQStatusList(&reply, 0);
    }
  }
  FreeZQXMLParsedStream(&parsed, 0);
  FreeZQStatusList(&s, 0);
  return 0;
}
