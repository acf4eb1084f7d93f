// The XDR rules the validator enforces, one table per rule group. Each row
// is a schema (declarations inside <Schema>), an instance and the outcome.
#include <gtest/gtest.h>

#include "XmlTestSupport.h"
#include "platform/xml/XmlErrors.h"
#include "support/case_name.h"

namespace tap::xml {
namespace {

using test::cache_of;
using test::validate_with;

struct Case {
  const char* name;
  const char* schema;
  const char* instance;
  bool valid;
};

class XdrRule : public testing::TestWithParam<Case> {};

TEST_P(XdrRule, ValidatesAsExpected) {
  const Case& c = GetParam();
  ParseResult added;
  auto cache = cache_of(c.schema, u"", &added);
  ASSERT_TRUE(cache) << added.message;
  ParseResult r = validate_with(cache, c.instance);
  EXPECT_EQ(r.code == 0, c.valid) << c.instance << "\n" << r.message;
  if (!r) {
    EXPECT_FALSE(r.message.empty());
    EXPECT_GT(r.line, 0) << r.message;
  }
}

// Wine's open-sequence schema: w, x, y, z empty and closed; `test` open seq
// x, (x, y, z), z.
#define S1_TYPES                                                                                        \
  "<ElementType name='w' content='empty' model='closed'/><ElementType name='x' content='empty' model='closed'/>" \
  "<ElementType name='y' content='empty' model='closed'/><ElementType name='z' content='empty' model='closed'/>"
#define S1_BODY "<element type='x'/><group order='seq'><element type='x'/><element type='y'/><element type='z'/></group><element type='z'/>"
#define S1 S1_TYPES "<ElementType name='test' content='eltOnly' model='open' order='seq'>" S1_BODY "</ElementType>"
#define S1_CLOSED S1_TYPES "<ElementType name='test' content='eltOnly' model='closed' order='seq'>" S1_BODY "</ElementType>"

#define AB "<ElementType name='a' content='empty'/><ElementType name='b' content='empty'/>"
#define P_ONE(model) \
  AB "<ElementType name='p' content='eltOnly' model='" model "' order='one'><element type='a'/><element type='b'/></ElementType>"

const Case kModelAndOrder[] = {
    {"OpenSeqBase", S1, "<test><x/><x/><y/><z/><z/></test>", true},
    {"OpenSeqDeclaredExtraAtEnd", S1, "<test><x/><x/><y/><z/><z/><w/></test>", true},
    {"OpenSeqExtraAtStart", S1, "<test><w/><x/><x/><y/><z/><z/></test>", false},
    {"OpenSeqUndeclaredSameNamespace", S1, "<test><x/><x/><y/><z/><z/><v/></test>", false},
    {"OpenSeqForeignNamespaceExtra", S1, "<test><x/><x/><y/><z/><z/><f:q xmlns:f='urn:none'><any/></f:q></test>", true},
    {"OpenSeqForeignBeforeSatisfied", S1, "<test><x/><f:q xmlns:f='urn:none'/><x/><y/><z/><z/></test>", false},
    {"OpenSeqDeclaredMixedInAfterMatch", S1, "<test><x/><x/><y/><z/><z/><w/><x/></test>", true},
    {"OpenSeqIncomplete", S1, "<test><x/><x/><y/></test>", false},
    {"ClosedSeqExtra", S1_CLOSED, "<test><x/><x/><y/><z/><z/><w/></test>", false},
    {"ClosedSeqBase", S1_CLOSED, "<test><x/><x/><y/><z/><z/></test>", true},
    {"ClosedOneSingle", P_ONE("closed"), "<p><a/></p>", true},
    {"ClosedOneBoth", P_ONE("closed"), "<p><a/><b/></p>", false},
    {"ClosedOneNone", P_ONE("closed"), "<p/>", false},
    {"OpenOneExtraAfterMatch", P_ONE("open"), "<p><a/><b/></p>", true},
    {"ExtraInDeclaredChildIsValidated", S1, "<test><x/><x/><y/><z/><z/><w><x/></w></test>", false},
};
INSTANTIATE_TEST_SUITE_P(ModelAndOrder, XdrRule, testing::ValuesIn(kModelAndOrder), rows::by_name);

#define GROUPS                                                                                          \
  "<ElementType name='x1' content='empty'/><ElementType name='y1' content='empty'/>"                   \
  "<ElementType name='x2' content='empty'/><ElementType name='y2' content='empty'/>"                   \
  "<ElementType name='x' model='closed' order='one'>"                                                   \
  "<group order='seq'><element type='x1'/><element type='y1'/></group>"                                \
  "<group order='seq'><element type='x2'/><element type='y2'/></group></ElementType>"

const Case kGroups[] = {
    {"FirstSeq", GROUPS, "<x><x1/><y1/></x>", true},
    {"SecondSeq", GROUPS, "<x><x2/><y2/></x>", true},
    {"CrossedSeq", GROUPS, "<x><x1/><y2/></x>", false},
    {"NestedGroupsMaxMany",
     AB "<ElementType name='r' content='eltOnly' model='closed'><group order='seq' maxOccurs='*'><element type='a'/>"
        "<group order='one' minOccurs='0'><element type='b'/></group></group></ElementType>",
     "<r><a/><b/><a/><a/><b/></r>", true},
    {"NestedGroupsWrongOrder",
     AB "<ElementType name='r' content='eltOnly' model='closed'><group order='seq' maxOccurs='*'><element type='a'/>"
        "<group order='one' minOccurs='0'><element type='b'/></group></group></ElementType>",
     "<r><b/><a/></r>", false},
};
INSTANTIATE_TEST_SUITE_P(Groups, XdrRule, testing::ValuesIn(kGroups), rows::by_name);

#define OCC AB "<ElementType name='p' content='eltOnly' model='closed'><element type='a' minOccurs='0' maxOccurs='*'/><element type='b'/></ElementType>"
#define MANY AB "<ElementType name='p' content='eltOnly' model='closed' order='many'><element type='a'/><element type='b'/></ElementType>"
#define MIXED AB "<ElementType name='m'><element type='a'/></ElementType>"

const Case kOccurrence[] = {
    {"StarThenOne", OCC, "<p><a/><a/><b/></p>", true},
    {"ZeroThenOne", OCC, "<p><b/></p>", true},
    {"MissingDefaultOne", OCC, "<p><a/></p>", false},
    {"DefaultOneTwice", OCC, "<p><b/><b/></p>", false},
    {"ManyAnyOrderAnyNumber", MANY, "<p><b/><a/><a/></p>", true},
    {"ManyEmpty", MANY, "<p/>", true},
    {"ManyClosedRejectsOther", MANY "<ElementType name='c' content='empty'/>", "<p><a/><c/></p>", false},
    {"MixedDefaultIgnoresOccurrence", MIXED, "<m>text<a/>more<a/></m>", true},
    {"MixedClosedListOnly", AB "<ElementType name='m' model='closed'><element type='a'/></ElementType>", "<m>t<b/></m>",
     false},
};
INSTANTIATE_TEST_SUITE_P(Occurrence, XdrRule, testing::ValuesIn(kOccurrence), rows::by_name);

#define ELT AB "<ElementType name='p' content='eltOnly' model='closed'><element type='a'/></ElementType>"
#define TEXT AB "<ElementType name='t' content='textOnly'/><ElementType name='u' content='empty'/>"
#define EMPTY "<ElementType name='e' content='empty'/>"

const Case kContent[] = {
    {"EltOnlyWhitespaceCommentPi", ELT, "<p>\n  <!--c-->  <?pi x?>\n <a/>\n</p>", true},
    {"EltOnlyText", ELT, "<p>hi<a/></p>", false},
    {"EltOnlyCdata", ELT, "<p><![CDATA[ ]]><a/></p>", false},
    {"EltOnlyPreservedWhitespace", ELT, "<p xml:space='preserve'> <a/>\n</p>", true},
    {"EltOnlyPreservedText", ELT, "<p xml:space='preserve'> <a/>x</p>", false},
    {"TextOnlyText", TEXT, "<t>abc</t>", true},
    {"TextOnlyChild", TEXT, "<t><u/></t>", false},
    {"TextOnlyForeignChild", TEXT, "<t><f:u xmlns:f='urn:none'/></t>", false},
    {"EmptyEmpty", EMPTY, "<e/>", true},
    {"EmptyWhitespaceDropped", EMPTY, "<e>  \n </e>", true},
    {"EmptyText", EMPTY, "<e>x</e>", false},
    {"EmptyChild", EMPTY, "<e><e/></e>", false},
    {"EmptyCommentAllowed", EMPTY, "<e><!-- note --></e>", true},
};
INSTANTIATE_TEST_SUITE_P(Content, XdrRule, testing::ValuesIn(kContent), rows::by_name);

#define REQ "<ElementType name='r' content='empty'><AttributeType name='a' required='yes'/><attribute type='a'/></ElementType>"
#define FIXED \
  "<ElementType name='r' content='empty'><AttributeType name='a'/><attribute type='a' required='yes' default='v'/></ElementType>"
#define ENUM                                                                                          \
  "<ElementType name='r' content='empty'><AttributeType name='c' dt:type='enumeration' dt:values='a b c'/>" \
  "<attribute type='c'/></ElementType>"
#define GLOBAL \
  "<AttributeType name='g'/><ElementType name='r' content='empty'><attribute type='g'/></ElementType>" \
  "<ElementType name='s' content='empty'><attribute type='g'/></ElementType>"
#define OPEN_ATTR "<ElementType name='r' content='eltOnly' model='open'/>"
#define LEN                                                                                              \
  "<ElementType name='r' content='empty'><AttributeType name='s' dt:type='string' dt:maxLength='3'/>" \
  "<attribute type='s'/></ElementType>"

const Case kAttributes[] = {
    {"RequiredPresent", REQ, "<r a='1'/>", true},
    {"RequiredAbsent", REQ, "<r/>", false},
    {"RequiredEmptyIsPresent", REQ, "<r a=''/>", true},
    {"FixedEqual", FIXED, "<r a='v'/>", true},
    {"FixedOther", FIXED, "<r a='w'/>", false},
    {"FixedAbsentUsesDefault", FIXED, "<r/>", true},
    {"EnumMember", ENUM, "<r c='b'/>", true},
    {"EnumTrimmed", ENUM, "<r c=' b '/>", true},
    {"EnumNotMember", ENUM, "<r c='d'/>", false},
    {"EnumCaseSensitive", ENUM, "<r c='B'/>", false},
    {"GlobalUnqualified", GLOBAL, "<r g='x'/>", true},
    {"GlobalFromSecondType", GLOBAL, "<s g='y'/>", true},
    {"OpenUndeclaredUnqualified", OPEN_ATTR, "<r zz='1'/>", false},
    {"OpenForeignQualified", OPEN_ATTR, "<r f:zz='1' xmlns:f='urn:none'/>", true},
    {"ClosedForeignQualified", "<ElementType name='r' content='empty'/>", "<r f:zz='1' xmlns:f='urn:none'/>", false},
    {"DtDtAllowedAnywhere", "<ElementType name='r' content='empty'/>", "<r dt:dt='NUMbEr' xmlns:dt='urn:schemas-microsoft-com:datatypes'/>", true},
    {"DtDtUnknownType", "<ElementType name='r' content='empty'/>", "<r dt:dt='numeral' xmlns:dt='urn:schemas-microsoft-com:datatypes'/>", false},
    {"MaxLengthAtLimit", LEN, "<r s='a&#xE9;c'/>", true},
    {"MaxLengthOver", LEN, "<r s='abcd'/>", false},
    {"MaxLengthCountsAsWritten", LEN, "<r s=' ab '/>", false},
    {"XmlnsNotValidated", "<ElementType name='r' content='empty'/>", "<r xmlns:q='urn:q'/>", true},
};
INSTANTIATE_TEST_SUITE_P(Attributes, XdrRule, testing::ValuesIn(kAttributes), rows::by_name);

// The lexical rules of each type are XdrDataType's; these rows check that
// element text, present or absent, reaches them.
#define V(type) "<ElementType name='v' dt:type='" type "'/>"

const Case kElementTypes[] = {
    {"I4Min", V("i4"), "<v>-2147483648</v>", true},
    {"I4Overflow", V("i4"), "<v>2147483648</v>", false},
    {"I4Empty", V("i4"), "<v/>", false},
    {"BinHexLower", V("bin.hex"), "<v>deadbeef</v>", true},
    {"BinHexEmpty", V("bin.hex"), "<v/>", true},
    {"BinHexOdd", V("bin.hex"), "<v>abc</v>", false},
    {"StringKeepsAnything", V("string"), "<v> any &amp; thing </v>", true},
    {"TypedTextOnlyRejectsChild", V("i4") "<ElementType name='u' content='empty'/>", "<v><u/></v>", false},
};
INSTANTIATE_TEST_SUITE_P(ElementTypes, XdrRule, testing::ValuesIn(kElementTypes), rows::by_name);

#define IDS                                                                                               \
  "<ElementType name='n' content='empty'><AttributeType name='key' dt:type='id'/>"                        \
  "<AttributeType name='to' dt:type='idrefs'/><attribute type='key'/><attribute type='to'/></ElementType>" \
  "<ElementType name='l' content='eltOnly' model='closed'><element type='n' maxOccurs='*'/></ElementType>"

const Case kIds[] = {
    {"UniqueIdsAndForwardRefs", IDS, "<l><n to='b a'/><n key='a'/><n key='b'/></l>", true},
    {"DuplicateId", IDS, "<l><n key='a'/><n key=' a'/></l>", false},
    {"DanglingRef", IDS, "<l><n key='a'/><n to='a c'/></l>", false},
};
INSTANTIATE_TEST_SUITE_P(Ids, XdrRule, testing::ValuesIn(kIds), rows::by_name);

// Schemas that add() must refuse, with the rule that names them.
struct SchemaCase {
  const char* name;
  const char* schema;
  XmlError error;
};

class XdrSchemaError : public testing::TestWithParam<SchemaCase> {};

TEST_P(XdrSchemaError, IsRefusedWhenAdded) {
  const SchemaCase& c = GetParam();
  ParseResult added;
  auto cache = cache_of(c.schema, u"", &added);
  EXPECT_FALSE(cache);
  EXPECT_EQ(added.code, static_cast<int>(c.error)) << added.message;
  EXPECT_GT(added.line, 0) << added.message;
}

const SchemaCase kSchemaErrors[] = {
    {"ManyWithMaxOne", AB "<ElementType name='p' content='eltOnly'><group order='many' maxOccurs='1'><element type='a'/></group></ElementType>",
     XmlError::SchemaManyMaxOccurs},
    {"MaxOccursTwo", AB "<ElementType name='p' content='eltOnly'><element type='a' maxOccurs='2'/></ElementType>",
     XmlError::SchemaBadValue},
    {"MinOccursTwo", AB "<ElementType name='p' content='eltOnly'><element type='a' minOccurs='2'/></ElementType>",
     XmlError::SchemaBadValue},
    {"LocalAttributeOfOtherType",
     "<ElementType name='A' content='empty'><AttributeType name='l'/></ElementType>"
     "<ElementType name='B' content='empty'><attribute type='l'/></ElementType>",
     XmlError::SchemaUnresolvedAttribute},
    {"UnresolvedElement", "<ElementType name='p' content='eltOnly'><element type='nope'/></ElementType>",
     XmlError::SchemaUnresolvedElement},
    {"TypedWithElements", AB "<ElementType name='p' dt:type='i4'><element type='a'/></ElementType>",
     XmlError::SchemaNoChildren},
    {"TypedEltOnly", "<ElementType name='p' content='eltOnly' dt:type='i4'/>", XmlError::SchemaTypedContent},
    {"UnknownType", "<ElementType name='p' dt:type='integer'/>", XmlError::SchemaUnknownType},
    {"MixedSeq", "<ElementType name='p' content='mixed' order='seq'/>", XmlError::SchemaMixedOrder},
    {"EmptyOpen", "<ElementType name='p' content='empty' model='open'/>", XmlError::SchemaEmptyOpen},
    {"ClosedEltOnlyWithoutElements", "<ElementType name='p' content='eltOnly' model='closed'/>",
     XmlError::SchemaClosedNoElements},
    {"EmptyGroup", "<ElementType name='p' content='eltOnly'><group order='seq'/></ElementType>",
     XmlError::SchemaEmptyGroup},
    {"MixedGroupSeq", AB "<ElementType name='p'><group order='seq'><element type='a'/></group></ElementType>",
     XmlError::SchemaMixedGroup},
    {"EnumWithoutValues", "<AttributeType name='c' dt:type='enumeration'/>", XmlError::SchemaEnumWithoutValues},
    {"ValuesWithoutEnum", "<AttributeType name='c' dt:values='a b'/>", XmlError::SchemaValuesWithoutEnum},
    {"DefaultNotInValues", "<AttributeType name='c' dt:type='enumeration' dt:values='a b' default='c'/>",
     XmlError::SchemaBadDefault},
    {"DefaultNotOfType", "<ElementType name='r' content='empty'><AttributeType name='n' dt:type='i4'/><attribute type='n' default='x'/></ElementType>",
     XmlError::SchemaBadDefault},
    {"DuplicateElementType", "<ElementType name='p'/><ElementType name='p'/>", XmlError::SchemaDuplicate},
    {"DuplicateAttributeRef", "<AttributeType name='g'/><ElementType name='p'><attribute type='g'/><attribute type='g'/></ElementType>",
     XmlError::SchemaDuplicateAttribute},
    {"BadContent", "<ElementType name='p' content='text'/>", XmlError::SchemaBadValue},
    {"BadRequired", "<AttributeType name='g' required='true'/>", XmlError::SchemaBadValue},
    {"ElementTypeWithoutName", "<ElementType content='empty'/>", XmlError::SchemaNoName},
    {"UnknownXdrElement", "<ElementTyp name='p'/>", XmlError::SchemaUnexpected},
    {"UnknownPrefix", "<ElementType name='p' content='eltOnly'><element type='q:a'/></ElementType>",
     XmlError::SchemaUnknownPrefix},
};
INSTANTIATE_TEST_SUITE_P(Schema, XdrSchemaError, testing::ValuesIn(kSchemaErrors), rows::by_name);

TEST(XdrSchema, RootMustBeXdrSchema) {
  Document schema;
  ASSERT_TRUE(schema.load_from_memory("<Schema xmlns='urn:other'/>"));
  SchemaCache cache;
  EXPECT_EQ(cache.add(u"", schema).code, static_cast<int>(XmlError::SchemaRoot));
  EXPECT_EQ(cache.first_namespace(), u"");
}

TEST(XdrSchema, ForwardReferencesResolve) {
  auto cache = cache_of(
      "<ElementType name='p' content='eltOnly'><attribute type='g'/><element type='later'/></ElementType>"
      "<AttributeType name='g' dt:type='i4'/><ElementType name='later' content='empty'/>");
  ASSERT_TRUE(cache);
  EXPECT_TRUE(validate_with(cache, "<p g='1'><later/></p>"));
  EXPECT_FALSE(validate_with(cache, "<p g='x'><later/></p>"));
}

// Lookups go by each element's own namespace, through the cache.
TEST(XdrCache, NamespaceAssociation) {
  auto cache = cache_of(REQ, u"urn:a");
  ASSERT_TRUE(cache);
  EXPECT_EQ(cache->first_namespace(), u"urn:a");
  EXPECT_EQ(validate_with(cache, "<r xmlns='urn:b' a='1'/>").code, static_cast<int>(XmlError::NoSchema));
  EXPECT_EQ(validate_with(nullptr, "<r xmlns='urn:a' a='1'/>").code, static_cast<int>(XmlError::NoSchema));
  EXPECT_EQ(validate_with(cache, "<q xmlns='urn:a'/>").code, static_cast<int>(XmlError::UndeclaredElement));
  EXPECT_TRUE(validate_with(cache, "<r xmlns='urn:a' a='1'/>"));
  EXPECT_TRUE(validate_with(cache, "<x:r xmlns:x='urn:a' a='1'/>"));
}

TEST(XdrCache, ChildInAnotherCachedNamespaceUsesThatSchema) {
  auto cache = cache_of("<ElementType name='r' content='eltOnly' model='open'/>", u"urn:a");
  ASSERT_TRUE(cache);
  Document other;
  ASSERT_TRUE(other.load_from_memory(std::string(test::kSchemaOpen) + "<ElementType name='k' dt:type='i4'/></Schema>"));
  ASSERT_TRUE(cache->add(u"urn:b", other));
  EXPECT_TRUE(validate_with(cache, "<r xmlns='urn:a'><k xmlns='urn:b'>5</k></r>"));
  EXPECT_FALSE(validate_with(cache, "<r xmlns='urn:a'><k xmlns='urn:b'>five</k></r>"));
  EXPECT_FALSE(validate_with(cache, "<r xmlns='urn:a'><j xmlns='urn:b'/></r>"));
}

TEST(XdrCache, QualifiedAttributeOfCachedNamespaceMustBeItsGlobalType) {
  auto cache = cache_of("<ElementType name='r' content='eltOnly' model='open'/>", u"urn:a");
  ASSERT_TRUE(cache);
  Document other;
  ASSERT_TRUE(other.load_from_memory(std::string(test::kSchemaOpen) + "<AttributeType name='g' dt:type='i4'/></Schema>"));
  ASSERT_TRUE(cache->add(u"urn:b", other));
  EXPECT_TRUE(validate_with(cache, "<r xmlns='urn:a' xmlns:b='urn:b' b:g='1'/>"));
  EXPECT_FALSE(validate_with(cache, "<r xmlns='urn:a' xmlns:b='urn:b' b:g='x'/>"));
  EXPECT_FALSE(validate_with(cache, "<r xmlns='urn:a' xmlns:b='urn:b' b:h='1'/>"));
}

TEST(XdrCache, AddingAgainReplacesAndRemoveForgets) {
  auto cache = cache_of(REQ, u"urn:a");
  ASSERT_TRUE(cache);
  Document second;
  ASSERT_TRUE(second.load_from_memory(std::string(test::kSchemaOpen) + "<ElementType name='q' content='empty'/></Schema>"));
  ASSERT_TRUE(cache->add(u"urn:a", second));
  EXPECT_TRUE(validate_with(cache, "<q xmlns='urn:a'/>"));
  EXPECT_FALSE(validate_with(cache, "<r xmlns='urn:a' a='1'/>"));
  cache->remove(u"urn:a");
  EXPECT_EQ(validate_with(cache, "<q xmlns='urn:a'/>").code, static_cast<int>(XmlError::NoSchema));
}

TEST(XdrCache, RefusedSchemaLeavesCacheUnchanged) {
  auto cache = cache_of(REQ, u"urn:a");
  ASSERT_TRUE(cache);
  Document bad;
  ASSERT_TRUE(bad.load_from_memory(std::string(test::kSchemaOpen) + "<ElementType name='p' content='bogus'/></Schema>"));
  EXPECT_FALSE(cache->add(u"urn:a", bad));
  EXPECT_TRUE(validate_with(cache, "<r xmlns='urn:a' a='1'/>"));
}

TEST(XdrValidation, FailureNamesElementRuleAndPosition) {
  auto cache = cache_of(REQ);
  ASSERT_TRUE(cache);
  ParseResult r = validate_with(cache, "<?xml version='1.0'?>\n\n  <r\n   b='2'/>");
  EXPECT_EQ(r.code, static_cast<int>(XmlError::UndeclaredAttribute));
  EXPECT_EQ(r.line, 3);
  EXPECT_EQ(r.column, 3);
  EXPECT_NE(r.message.find("'b'"), std::string::npos) << r.message;
  EXPECT_NE(r.message.find("'r'"), std::string::npos) << r.message;
}

}  // namespace
}  // namespace tap::xml
