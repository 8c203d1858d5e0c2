// The add-on API error codes: 0x81060000 plus an offset (negative as signed numbers).
#ifndef VHOST_APIDEFS_ERRORS_H
#define VHOST_APIDEFS_ERRORS_H

#include "Definitions.hpp"

constexpr GSErrCode APIErrCode(UInt32 offset) { return static_cast<GSErrCode>(0x81060000u + offset); }

constexpr GSErrCode APIERR_GENERAL = APIErrCode(1);
constexpr GSErrCode APIERR_MEMFULL = APIErrCode(2);
constexpr GSErrCode APIERR_CANCEL = APIErrCode(3);
constexpr GSErrCode APIERR_BADID = APIErrCode(101);
constexpr GSErrCode APIERR_BADINDEX = APIErrCode(102);
constexpr GSErrCode APIERR_BADNAME = APIErrCode(103);
constexpr GSErrCode APIERR_BADPARS = APIErrCode(104);
constexpr GSErrCode APIERR_BADPOLY = APIErrCode(105);
constexpr GSErrCode APIERR_BADDATABASE = APIErrCode(106);
constexpr GSErrCode APIERR_BADWINDOW = APIErrCode(107);
constexpr GSErrCode APIERR_BADKEYCODE = APIErrCode(108);
constexpr GSErrCode APIERR_BADPLATFORMSIGN = APIErrCode(109);
constexpr GSErrCode APIERR_BADPLANE = APIErrCode(110);
constexpr GSErrCode APIERR_BADUSERID = APIErrCode(111);
constexpr GSErrCode APIERR_BADVALUE = APIErrCode(112);
constexpr GSErrCode APIERR_BADELEMENTTYPE = APIErrCode(113);
constexpr GSErrCode APIERR_IRREGULARPOLY = APIErrCode(114);
constexpr GSErrCode APIERR_NO3D = APIErrCode(201);
constexpr GSErrCode APIERR_NOMORE = APIErrCode(202);
constexpr GSErrCode APIERR_NOPLAN = APIErrCode(203);
constexpr GSErrCode APIERR_NOLIB = APIErrCode(204);
constexpr GSErrCode APIERR_NOLIBSECT = APIErrCode(205);
constexpr GSErrCode APIERR_NOSEL = APIErrCode(206);
constexpr GSErrCode APIERR_NOTEDITABLE = APIErrCode(207);
constexpr GSErrCode APIERR_NOTSUBTYPEOF = APIErrCode(208);
constexpr GSErrCode APIERR_NOTEQUALMAIN = APIErrCode(209);
constexpr GSErrCode APIERR_NOTEQUALREVISION = APIErrCode(210);
constexpr GSErrCode APIERR_NOTEAMWORKPROJECT = APIErrCode(211);
constexpr GSErrCode APIERR_NOUSERDATA = APIErrCode(220);
constexpr GSErrCode APIERR_MOREUSER = APIErrCode(221);
constexpr GSErrCode APIERR_LINKEXIST = APIErrCode(222);
constexpr GSErrCode APIERR_LINKNOTEXIST = APIErrCode(223);
constexpr GSErrCode APIERR_WINDEXIST = APIErrCode(224);
constexpr GSErrCode APIERR_WINDNOTEXIST = APIErrCode(225);
constexpr GSErrCode APIERR_UNDOEMPTY = APIErrCode(226);
constexpr GSErrCode APIERR_REFERENCEEXIST = APIErrCode(227);
constexpr GSErrCode APIERR_NAMEALREADYUSED = APIErrCode(228);
constexpr GSErrCode APIERR_ATTREXIST = APIErrCode(301);
constexpr GSErrCode APIERR_DELETED = APIErrCode(302);
constexpr GSErrCode APIERR_LOCKEDLAY = APIErrCode(303);
constexpr GSErrCode APIERR_HIDDENLAY = APIErrCode(304);
constexpr GSErrCode APIERR_INVALFLOOR = APIErrCode(305);
constexpr GSErrCode APIERR_NOTMINE = APIErrCode(306);
constexpr GSErrCode APIERR_NOACCESSRIGHT = APIErrCode(307);
constexpr GSErrCode APIERR_BADPROPERTY = APIErrCode(308);
constexpr GSErrCode APIERR_BADCLASSIFICATION = APIErrCode(309);
constexpr GSErrCode APIERR_MODULNOTINSTALLED = APIErrCode(401);
constexpr GSErrCode APIERR_MODULCMDMINE = APIErrCode(402);
constexpr GSErrCode APIERR_MODULCMDNOTSUPPORTED = APIErrCode(403);
constexpr GSErrCode APIERR_MODULCMDVERSNOTSUPPORTED = APIErrCode(404);
constexpr GSErrCode APIERR_NOMODULEDATA = APIErrCode(405);
constexpr GSErrCode APIERR_PAROVERLAP = APIErrCode(501);
constexpr GSErrCode APIERR_PARMISSING = APIErrCode(502);
constexpr GSErrCode APIERR_PAROVERFLOW = APIErrCode(503);
constexpr GSErrCode APIERR_PARIMPLICIT = APIErrCode(504);
constexpr GSErrCode APIERR_RUNOVERLAP = APIErrCode(510);
constexpr GSErrCode APIERR_RUNMISSING = APIErrCode(511);
constexpr GSErrCode APIERR_RUNOVERFLOW = APIErrCode(512);
constexpr GSErrCode APIERR_RUNIMPLICIT = APIErrCode(513);
constexpr GSErrCode APIERR_RUNPROTECTED = APIErrCode(514);
constexpr GSErrCode APIERR_EOLOVERLAP = APIErrCode(520);
constexpr GSErrCode APIERR_TABOVERLAP = APIErrCode(530);
constexpr GSErrCode APIERR_NOTINIT = APIErrCode(901);
constexpr GSErrCode APIERR_NESTING = APIErrCode(902);
constexpr GSErrCode APIERR_NOTSUPPORTED = APIErrCode(903);
constexpr GSErrCode APIERR_REFUSEDCMD = APIErrCode(904);
constexpr GSErrCode APIERR_REFUSEDPAR = APIErrCode(905);
constexpr GSErrCode APIERR_READONLY = APIErrCode(906);
constexpr GSErrCode APIERR_SERVICEFAILED = APIErrCode(907);
constexpr GSErrCode APIERR_COMMANDFAILED = APIErrCode(908);
constexpr GSErrCode APIERR_NEEDSUNDOSCOPE = APIErrCode(909);
constexpr GSErrCode APIERR_MISSINGCODE = APIErrCode(1001);
constexpr GSErrCode APIERR_MISSINGDEF = APIErrCode(1002);
constexpr GSErrCode APIERR_BADCLASSIFICATIONFORATTR = APIErrCode(1003);

#endif
