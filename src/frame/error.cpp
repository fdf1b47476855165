#include "frame/error.h"

#include <utility>

namespace brv {

String standardDescription(int32_t number) {
    const char* text = nullptr;
    switch (number) {
        case 3:
            text = "Return without GoSub";
            break;
        case 5:
            text = "Invalid procedure call or argument";
            break;
        case 6:
            text = "Overflow";
            break;
        case 7:
            text = "Out of memory";
            break;
        case 9:
            text = "Subscript out of range";
            break;
        case 10:
            text = "This array is fixed or temporarily locked";
            break;
        case 11:
            text = "Division by zero";
            break;
        case 13:
            text = "Type mismatch";
            break;
        case 14:
            text = "Out of string space";
            break;
        case 16:
            text = "Expression too complex";
            break;
        case 17:
            text = "Can't perform requested operation";
            break;
        case 18:
            text = "User interrupt occurred";
            break;
        case 20:
            text = "Resume without error";
            break;
        case 28:
            text = "Out of stack space";
            break;
        case 35:
            text = "Sub or Function not defined";
            break;
        case 47:
            text = "Too many DLL application clients";
            break;
        case 48:
            text = "Error in loading DLL";
            break;
        case 49:
            text = "Bad DLL calling convention";
            break;
        case 51:
            text = "Internal error";
            break;
        case 52:
            text = "Bad file name or number";
            break;
        case 53:
            text = "File not found";
            break;
        case 54:
            text = "Bad file mode";
            break;
        case 55:
            text = "File already open";
            break;
        case 57:
            text = "Device I/O error";
            break;
        case 58:
            text = "File already exists";
            break;
        case 59:
            text = "Bad record length";
            break;
        case 61:
            text = "Disk full";
            break;
        case 62:
            text = "Input past end of file";
            break;
        case 63:
            text = "Bad record number";
            break;
        case 67:
            text = "Too many files";
            break;
        case 68:
            text = "Device unavailable";
            break;
        case 70:
            text = "Permission denied";
            break;
        case 71:
            text = "Disk not ready";
            break;
        case 74:
            text = "Can't rename with different drive";
            break;
        case 75:
            text = "Path/File access error";
            break;
        case 76:
            text = "Path not found";
            break;
        case 91:
            text = "Object variable or With block variable not set";
            break;
        case 92:
            text = "For loop not initialized";
            break;
        case 93:
            text = "Invalid pattern string";
            break;
        case 94:
            text = "Invalid use of Null";
            break;
        case 298:
            text = "System DLL could not be loaded";
            break;
        case 321:
            text = "Invalid file format";
            break;
        case 322:
            text = "Can't create necessary temporary file";
            break;
        case 380:
            text = "Invalid property value";
            break;
        case 381:
            text = "Invalid property array index";
            break;
        case 423:
            text = "Property or method not found";
            break;
        case 424:
            text = "Object required";
            break;
        case 429:
            text = "ActiveX component can't create object";
            break;
        case 430:
            text = "Class does not support Automation or does not support expected interface";
            break;
        case 438:
            text = "Object doesn't support this property or method";
            break;
        case 440:
            text = "Automation error";
            break;
        case 445:
            text = "Object doesn't support this action";
            break;
        case 446:
            text = "Object doesn't support named arguments";
            break;
        case 447:
            text = "Object doesn't support current locale setting";
            break;
        case 448:
            text = "Named argument not found";
            break;
        case 449:
            text = "Argument not optional";
            break;
        case 450:
            text = "Wrong number of arguments or invalid property assignment";
            break;
        case 451:
            text =
                "Property let procedure not defined and property get procedure did not return an "
                "object";
            break;
        case 452:
            text = "Invalid ordinal";
            break;
        case 453:
            text = "Specified DLL function not found";
            break;
        case 457:
            text = "This key is already associated with an element of this collection";
            break;
        case 458:
            text = "Variable uses an Automation type not supported in Visual Basic";
            break;
        case 461:
            text = "Method or data member not found";
            break;
        case 481:
            text = "Invalid picture";
            break;
        default:
            text = "Application-defined or object-defined error";
            break;
    }
    return fromUtf8(text);
}

Error::Error(int32_t number, String source, String description)
    : number_(number),
      source_(std::move(source)),
      description_(description.empty() ? standardDescription(number) : std::move(description)) {
    what_ =
        "error " + std::to_string(number_) + " (" + toUtf8(source_) + "): " + toUtf8(description_);
}

Error Error::withSource(String source) const {
    return Error(number_, std::move(source), description_);
}

void raise(int32_t number) {
    throw Error(number);
}

void raise(int32_t number, String source, String description) {
    throw Error(number, std::move(source), std::move(description));
}

}  // namespace brv
