#include "files/export_error.h"

#include <cerrno>
#include <cstring>

namespace numbrook {

ExportError::~ExportError() = default;

std::string ReasonOf(int error) {
  switch (error) {
    case ENOSPC: return "磁盘空间不足";
    case EDQUOT: return "超出了磁盘配额";
    case EFBIG: return "文件过大（超出了文件大小的上限）";
    case EACCES:
    case EPERM: return "权限不够";
    case EROFS: return "文件系统是只读的";
    case ENOENT: return "文件或文件夹不存在";
    case ENOTDIR: return "路径中有一部分不是文件夹";
    case EISDIR: return "它是一个文件夹";
    case EEXIST: return "文件已存在";
    case EMFILE: return "打开的文件过多（超出了本程序可打开文件数的上限）";
    case ENFILE: return "系统中打开的文件过多";
    case ENOMEM: return "内存不足";
    case ENAMETOOLONG: return "文件名过长";
    case ELOOP: return "符号链接的层数过多";
    case EIO: return "读写设备时出错";
    case EBUSY: return "设备或资源忙";
    case ETXTBSY: return "文件正被执行";
    case EXDEV: return "不能跨文件系统移动";
    case EAGAIN: return "资源暂时不可用";
    case EINTR: return "被信号中断";
    case ENXIO: return "没有这个设备";
    case EOPNOTSUPP: return "文件系统不支持这个操作";
    case ESTALE: return "网络文件句柄已失效";
    default: break;
  }
  return std::strerror(error);
}

}  // namespace numbrook
