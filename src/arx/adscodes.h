// The host's result codes and the type codes of its result buffers, with the host's own names
// and values.
#pragma once

// What a host value call returns.
#define RTNORM 5100      // success
#define RTERROR (-5001)  // the call failed (a missing variable, a value of the wrong type, ...)
#define RTCAN (-5002)    // the user cancelled
#define RTREJ (-5003)    // the host refused the request
#define RTFAIL (-5004)   // the link to AutoLISP failed
#define RTKWORD (-5005)  // the user answered with a keyword
#define RTINPUT (-5008)  // the user typed arbitrary input

// Type codes of a result buffer (resbuf::restype). DXF group codes (-5 .. 1071) appear there
// too, in chains that describe objects.
#define RTNONE 5000     // no value
#define RTREAL 5001     // real: rreal
#define RTPOINT 5002    // 2D point: rpoint[0], rpoint[1]
#define RTSHORT 5003    // 16-bit integer: rint
#define RTANG 5004      // angle, a real: rreal
#define RTSTR 5005      // string: rstring
#define RTENAME 5006    // entity name: rlname
#define RTPICKS 5007    // selection set name: rlname
#define RTORINT 5008    // orientation, a real: rreal
#define RT3DPOINT 5009  // 3D point: rpoint
#define RTLONG 5010     // 32-bit integer: rlong
#define RTVOID 5014     // blank symbol
#define RTLB 5016       // list begin
#define RTLE 5017       // list end
#define RTDOTE 5018     // dot of a dotted pair
#define RTNIL 5019      // nil
#define RTDXF0 5020     // DXF group 0 in an AutoLISP entity list: rstring
#define RTT 5021        // T (true)
